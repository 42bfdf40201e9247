// Test program of the program's forms, run under Wine: one application object for all.
#include <gtest/gtest.h>

#include "ui/Application.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TApplication application;
    application.Initialize();
    return RUN_ALL_TESTS();
}
