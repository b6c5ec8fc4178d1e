// The bare window with what Quiverleaf's first window takes from the
// platform: version 6 of the common controls (its manifest) and a multi-line
// editor with a vertical scroll bar filling the window, holding the focus.
// The start-up benchmark starts it beside the bare window, so that the
// figures tell what the platform's parts cost from what Quiverleaf adds.
#include <windows.h>
#include <commctrl.h>

namespace {
HWND Editor = nullptr;

LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        if (Editor)
            MoveWindow(Editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        if (Editor)
            SetFocus(Editor);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "EditWindow";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowExA(0, "EditWindow", "Window with an editor", WS_OVERLAPPEDWINDOW, 199, 186, 600, 475,
                               nullptr, nullptr, instance, nullptr);
    RECT client;
    GetClientRect(wnd, &client);
    Editor = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                             WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_WANTRETURN |
                                 ES_AUTOVSCROLL,
                             0, 0, client.right, client.bottom, wnd, nullptr, instance, nullptr);
    ShowWindow(wnd, show);
    UpdateWindow(wnd);
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return 0;
}
