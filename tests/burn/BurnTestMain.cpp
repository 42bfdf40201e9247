// The programming window's tests under Wine run with one application object and the
// serial library's Win32 services, as the program does.
#include <gtest/gtest.h>

#include "serial/SioWin32Services.h"
#include "ui/Application.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    SioInstallWin32Services();
    int result;
    {
        TApplication app;
        app.Initialize();
        result = RUN_ALL_TESTS();
    }
    SioUninstallWin32Services();
    return result;
}
