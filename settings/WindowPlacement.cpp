#include "settings/WindowPlacement.h"
#include "settings/IniFile.h"
#include "toolkit/Forms.h"
#include "toolkit/StrUtils.h"

#include <windows.h>
#include <cstdio>

WINDOWPLACEMENT PlacementForApplying(HWND wnd)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(wnd, &wp);
    if (!IsWindowVisible(wnd))
        wp.showCmd = SW_HIDE;
    return wp;
}

std::string ScreenSizeSuffix()
{
    char text[48];
    std::snprintf(text, sizeof text, "(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return text;
}

std::string ReadPositionText(const TCustomIniFile* store, const std::string& section, const std::string& key)
{
    std::string text = StoreReadText(store, section, key + ScreenSizeSuffix(), "");
    if (text.empty())
        text = StoreReadText(store, section, key, "");
    return text;
}

void WritePositionText(TCustomIniFile* store, const std::string& section, const std::string& key,
                       const std::string& text)
{
    StoreWriteText(store, section, key + ScreenSizeSuffix(), text);
    StoreWriteText(store, section, key, text);
}

void ParsePositionWords(const std::string& text, int* values, const int* defaults, int count)
{
    size_t at = 0;
    for (int i = 0; i < count; ++i) {
        while (at < text.size() && (text[at] == ',' || text[at] == ' '))
            ++at;
        size_t end = at;
        while (end < text.size() && text[end] != ',' && text[end] != ' ')
            ++end;
        int32_t v = 0;
        values[i] = end > at && TryStrToInt(text.substr(at, end - at), v) ? v : defaults[i];
        at = end;
    }
}

namespace {
std::string FourNumbers(int a, int b, int c, int d)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d,%d,%d,%d", a, b, c, d);
    return text;
}

bool IsMainWindow(const TCustomForm* window)
{
    return !Application || !Application->MainForm() || Application->MainForm() == window;
}
} // namespace

void SaveWindowPlacement(TCustomForm* window, TCustomIniFile* store, const std::string& section)
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(window->Handle(), &wp);
    // This program's main window carries the task bar button itself, so a
    // minimised main window is what counts as a minimised application.
    if (Application && Application->MainForm() == window && IsIconic(window->Handle()))
        wp.showCmd = SW_SHOWMINIMIZED;
    StoreWriteNumber(store, section, "Flags", static_cast<int32_t>(wp.flags));
    StoreWriteNumber(store, section, "ShowCmd", static_cast<int32_t>(wp.showCmd));
    StoreWriteNumber(store, section, "PixelsPerInch", ScreenPixelsPerInch());
    WritePositionText(store, section, "MinMaxPos",
                      FourNumbers(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y));
    WritePositionText(store, section, "NormPos",
                      FourNumbers(wp.rcNormalPosition.left, wp.rcNormalPosition.top, wp.rcNormalPosition.right,
                                  wp.rcNormalPosition.bottom));
}

void LoadWindowPlacement(TCustomForm* window, const TCustomIniFile* store, const std::string& section,
                         bool loadPosition, bool loadState)
{
    if (!loadPosition && !loadState)
        return;
    HWND wnd = window->Handle();
    WINDOWPLACEMENT wp = PlacementForApplying(wnd);

    if (loadPosition) {
        wp.flags = static_cast<UINT>(StoreReadNumber(store, section, "Flags", static_cast<int32_t>(wp.flags)));
        bool found = false;
        std::string text = ReadPositionText(store, section, "MinMaxPos");
        if (!text.empty()) {
            int v[4];
            const int zero[4] = {0, 0, 0, 0};
            ParsePositionWords(text, v, zero, 4);
            wp.ptMinPosition = POINT{v[0], v[1]};
            wp.ptMaxPosition = POINT{v[2], v[3]};
            found = true;
        }
        text = ReadPositionText(store, section, "NormPos");
        if (!text.empty()) {
            int v[4];
            const int defaults[4] = {window->Left(), window->Top(), window->Left() + window->Width(),
                                     window->Top() + window->Height()};
            ParsePositionWords(text, v, defaults, 4);
            wp.rcNormalPosition = RECT{v[0], v[1], v[2], v[3]};
            found = true;
        }
        if (found && StoreReadNumber(store, section, "PixelsPerInch", ScreenPixelsPerInch()) == ScreenPixelsPerInch()) {
            TFormBorderStyle border = window->BorderStyle();
            if (border != bsSizeable && border != bsSizeToolWin) {
                wp.rcNormalPosition.right = wp.rcNormalPosition.left + window->Width();
                wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + window->Height();
            }
            if (wp.rcNormalPosition.left < wp.rcNormalPosition.right) {
                if ((window->Position() == poScreenCenter || window->Position() == poDesktopCenter) &&
                    !window->IsDesigning())
                    window->SetPosition(poDesigned);
                SetWindowPlacement(wnd, &wp);
            }
        }
    }

    if (loadState) {
        TWindowState state = wsNormal;
        if (IsMainWindow(window) && window->Position() == poDefault)
            state = wsMaximized;
        switch (StoreReadNumber(store, section, "ShowCmd", 0)) {
        case SW_SHOWNORMAL: case SW_SHOW: case SW_RESTORE: state = wsNormal; break;
        case SW_SHOWMINIMIZED: case SW_MINIMIZE: case SW_SHOWMINNOACTIVE: state = wsMinimized; break;
        case SW_SHOWMAXIMIZED: state = wsMaximized; break;
        default: break;
        }
        if (state == wsMinimized && IsMainWindow(window)) {
            window->SetWindowStateQuietly(wsNormal);
            PostMessageA(wnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        window->SetWindowState(state);
    }
    UpdateWindow(wnd);
}
