// Quiverleaf: a notebook of ten named pages of plain text.
#include "app/MainForm.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    TApplication app;
    app.SetTitle("Quiverleaf");
    try {
        auto* form = new TForm1(&app);
        app.SetMainForm(form);
        app.Run();
    } catch (...) {
        app.HandleException(nullptr, std::current_exception());
    }
    return 0;
}
