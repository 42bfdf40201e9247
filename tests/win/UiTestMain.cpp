// The class-library tests run with one application object, as the program does.
#include <gtest/gtest.h>

#include "ui/Application.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    TApplication app;
    app.Initialize();
    return RUN_ALL_TESTS();
}
