#include "toolkit/Dialogs.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Forms.h"

#include <commdlg.h>
#include <cstring>
#include <string>

namespace {
HWND DialogOwner()
{
    if (Application && Application->MainForm())
        return Application->MainForm()->HandleValue();
    return nullptr;
}

// The common dialogs' library is loaded when a dialog first opens, not at
// start-up, and stays loaded for the rest of the process.
FARPROC CommonDialogFunction(const char* name)
{
    static HMODULE library = LoadLibraryA("comdlg32.dll");
    FARPROC function = library ? GetProcAddress(library, name) : nullptr;
    if (!function)
        throw EInvalidOperation(FormatMessage1("Cannot load %s", "comdlg32.dll"));
    return function;
}

using ChooseFontFunction = BOOL(WINAPI*)(LPCHOOSEFONTA);
using ChooseColorFunction = BOOL(WINAPI*)(LPCHOOSECOLORA);

template <class Function>
Function CommonDialog(const char* name)
{
    // Through the generic function pointer type, as GetProcAddress answers.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(CommonDialogFunction(name)));
}
} // namespace

const TClassInfo& TFontDialog::StaticClass()
{
    return MakeClassInfo<TFontDialog>("TFontDialog", &TComponent::StaticClass(), [](TClassBuilder<TFontDialog>& b) {
        b.Object<TFont>("Font", &TFontDialog::Font, &TFontDialog::SetFont);
    });
}

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {}

namespace {
int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM flag)
{
    *reinterpret_cast<bool*>(flag) = true;
    return 0;
}

// Whether the system lists a font family of that name (the font dialog
// offers only listed families).
bool FaceListed(const std::string& face)
{
    const HDC dc = TextMeasuringDC();
    LOGFONTA want{};
    want.lfCharSet = DEFAULT_CHARSET;
    face.copy(want.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExA(dc, &want, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// The face the system really draws a font description with.
std::string DrawnFace(const TFont& font)
{
    const HDC dc = TextMeasuringDC();
    SelectScope use(dc, font.Handle());
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, LF_FACESIZE, face);
    return face;
}
} // namespace

bool TFontDialog::Execute()
{
    LOGFONTA lf;
    FFont->ToLogFont(lf);
    // A face the system doesn't list (it draws another in its place) is not
    // in the dialog, which would then open on its first face and size: offer
    // the face that is really drawn, and keep the given name if the user
    // confirms that face.
    std::string drawn;
    if (!FaceListed(lf.lfFaceName)) {
        drawn = DrawnFace(*FFont);
        if (!drawn.empty()) {
            std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
            drawn.copy(lf.lfFaceName, LF_FACESIZE - 1);
        }
    }
    const std::string given = FFont->Name();
    CHOOSEFONTA cf{};
    cf.lStructSize = sizeof cf;
    cf.hwndOwner = DialogOwner();
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
    cf.rgbColors = ColorToRGB(FFont->Color());
    if (!CommonDialog<ChooseFontFunction>("ChooseFontA")(&cf))
        return false;
    FFont->FromLogFont(lf);
    if (!drawn.empty() && drawn == lf.lfFaceName)
        FFont->SetName(given);
    FFont->SetColor(static_cast<TColor>(cf.rgbColors & 0xFFFFFF));
    return true;
}

const TClassInfo& TColorDialog::StaticClass()
{
    return MakeClassInfo<TColorDialog>("TColorDialog", &TComponent::StaticClass(), [](TClassBuilder<TColorDialog>& b) {
        b.Ordinal("Color", TypeColor(), &TColorDialog::Color, &TColorDialog::SetColor);
    });
}

bool TColorDialog::Execute()
{
    CHOOSECOLORA cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = DialogOwner();
    cc.rgbResult = ColorToRGB(FColor);
    cc.lpCustColors = FCustom;
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR;
    if (!CommonDialog<ChooseColorFunction>("ChooseColorA")(&cc))
        return false;
    FColor = static_cast<TColor>(cc.rgbResult & 0xFFFFFF);
    return true;
}
