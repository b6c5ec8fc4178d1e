// Every test executable runs with the application object in place, as the
// program does, so window procedures have an error handler to report to.
#include "toolkit/Forms.h"

#include <commctrl.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    TApplication app;
    app.SetTitle("Quiverleaf");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
