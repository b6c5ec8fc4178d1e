#pragma once
// The tool window a floating bar lives in: its client area is the bar, its
// caption the bar's caption. Bars that cannot float never get one.
#include "toolkit/Forms.h"

class TTBCustomDockableWindow;

class TTBFloatingWindowParent : public TCustomForm {
public:
    QV_CLASS(TTBFloatingWindowParent, TCustomForm)
    explicit TTBFloatingWindowParent(TComponent* owner);

    // Gives the client area that size, keeping the top-left corner.
    void SetClientSize(int width, int height);
    // Moves the window, if needed, so that it lies within the work area.
    void KeepOnScreen();
};
