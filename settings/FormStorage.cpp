#include "settings/FormStorage.h"
#include "settings/PropsStorage.h"
#include "settings/StoredList.h"
#include "settings/WindowPlacement.h"
#include "toolkit/StrUtils.h"

#include <windows.h>

namespace {

const TTypeInfo& TypePlacementOption()
{
    static const TTypeInfo t = MakeEnumType("TPlacementOption", {"fpState", "fpPosition", "fpActiveControl"});
    return t;
}

const TTypeInfo& TypePlacementOptions()
{
    static const TTypeInfo t = MakeSetType("TPlacementOptions", TypePlacementOption());
    return t;
}

const TTypeInfo& TypePlacementRegRoot()
{
    static const TTypeInfo t = MakeEnumType("TPlacementRegRoot", {"prCurrentUser", "prLocalMachine", "prCurrentConfig", "prClassesRoot", "prUsers", "prDynData"});
    return t;
}

} // namespace

// ----------------------------------------------------------- TWinMinMaxInfo

const TClassInfo& TWinMinMaxInfo::StaticClass()
{
    return MakeClassInfo<TWinMinMaxInfo>("TWinMinMaxInfo", &TPersistent::StaticClass(), [](TClassBuilder<TWinMinMaxInfo>& b) {
        b.Ordinal("MaxPosLeft", TypeInteger(), &TWinMinMaxInfo::MaxPosLeft, &TWinMinMaxInfo::SetMaxPosLeft)
            .Ordinal("MaxPosTop", TypeInteger(), &TWinMinMaxInfo::MaxPosTop, &TWinMinMaxInfo::SetMaxPosTop)
            .Ordinal("MaxSizeHeight", TypeInteger(), &TWinMinMaxInfo::MaxSizeHeight, &TWinMinMaxInfo::SetMaxSizeHeight)
            .Ordinal("MaxSizeWidth", TypeInteger(), &TWinMinMaxInfo::MaxSizeWidth, &TWinMinMaxInfo::SetMaxSizeWidth)
            .Ordinal("MaxTrackHeight", TypeInteger(), &TWinMinMaxInfo::MaxTrackHeight, &TWinMinMaxInfo::SetMaxTrackHeight)
            .Ordinal("MaxTrackWidth", TypeInteger(), &TWinMinMaxInfo::MaxTrackWidth, &TWinMinMaxInfo::SetMaxTrackWidth)
            .Ordinal("MinTrackHeight", TypeInteger(), &TWinMinMaxInfo::MinTrackHeight, &TWinMinMaxInfo::SetMinTrackHeight)
            .Ordinal("MinTrackWidth", TypeInteger(), &TWinMinMaxInfo::MinTrackWidth, &TWinMinMaxInfo::SetMinTrackWidth);
    });
}

void TWinMinMaxInfo::Assign(const TPersistent* source)
{
    auto* other = dynamic_cast<const TWinMinMaxInfo*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    for (int i = 0; i < 8; ++i)
        FValues[i] = other->FValues[i];
    OnChange(this);
}

bool TWinMinMaxInfo::DefaultMinMaxInfo() const
{
    for (int v : FValues)
        if (v != 0)
            return false;
    return true;
}

void TWinMinMaxInfo::Set(int index, int value)
{
    if (FValues[index] == value)
        return;
    FValues[index] = value;
    OnChange(this);
}

// ----------------------------------------------------------- TFormPlacement

const TClassInfo& TFormPlacement::StaticClass()
{
    return MakeClassInfo<TFormPlacement>("TFormPlacement", &TComponent::StaticClass(), [](TClassBuilder<TFormPlacement>& b) {
        b.Ordinal("Active", TypeBoolean(), &TFormPlacement::Active, &TFormPlacement::SetActive)
            .String("IniFileName", TypeString(), &TFormPlacement::IniFileName, &TFormPlacement::SetIniFileName)
            .String("IniSection", TypeString(), &TFormPlacement::IniSection, &TFormPlacement::SetIniSection)
            .Object<TWinMinMaxInfo>("MinMaxInfo", &TFormPlacement::MinMaxInfo, &TFormPlacement::SetMinMaxInfo)
            .Ordinal("Options", TypePlacementOptions(), &TFormPlacement::Options, &TFormPlacement::SetOptions)
            .Ordinal("PreventResize", TypeBoolean(), &TFormPlacement::PreventResize, &TFormPlacement::SetPreventResize)
            .Ordinal("RegistryRoot", TypePlacementRegRoot(), &TFormPlacement::RegistryRoot, &TFormPlacement::SetRegistryRoot)
            .Ordinal("UseRegistry", TypeBoolean(), &TFormPlacement::UseRegistry, &TFormPlacement::SetUseRegistry)
            .Ordinal("Version", TypeInteger(), &TFormPlacement::Version, &TFormPlacement::SetVersion);
    });
}

TFormPlacement::TFormPlacement(TComponent* owner)
    : TComponent(owner), FMinMaxInfo(std::make_unique<TWinMinMaxInfo>())
{
    if (dynamic_cast<TCustomForm*>(owner))
        FOptions = PlacementBit(fpState) | PlacementBit(fpPosition);
    FWinHook = new TWindowHook(this);
    FWinHook->SetActive(false);
    FWinHook->AfterMessage = MakeMethod<&TFormPlacement::HandleWindowMessage>(this);
    FMinMaxInfo->OnChange = MakeMethod<&TFormPlacement::MinMaxInfoChanged>(this);
}

TFormPlacement::~TFormPlacement()
{
    Destroying();
    FreeIni();
    if (FWinHook)
        FWinHook->SetActive(false);
    RemoveEventHooks();
}

TCustomForm* TFormPlacement::Form() const
{
    return dynamic_cast<TCustomForm*>(Owner());
}

std::string TFormPlacement::DefaultIniFileName()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string name(path, n);
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    size_t dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return name + ".INI";
}

std::string TFormPlacement::DefaultSectionOf(const TComponent* component)
{
    if (!component)
        return {};
    if (dynamic_cast<const TCustomForm*>(component))
        return component->ClassName();
    if (auto* control = dynamic_cast<const TControl*>(component)) {
        if (TCustomForm* form = GetParentForm(control))
            return form->ClassName() + control->Name();
        if (control->Parent())
            return control->Parent()->Name() + control->Name();
    }
    if (TComponent* owner = component->Owner()) {
        if (dynamic_cast<TCustomForm*>(owner))
            return owner->ClassName() + "." + component->Name();
        return component->Name();
    }
    return component->Name();
}

std::string TFormPlacement::IniFileName() const
{
    return FIniFileName.empty() ? DefaultIniFileName() : FIniFileName;
}

std::string TFormPlacement::IniSection() const
{
    return FIniSection.empty() ? DefaultSectionOf(Owner()) : FIniSection;
}

void TFormPlacement::OpenIni()
{
    if (!FIni)
        FIni = std::make_unique<TIniFile>(IniFileName());
}

void TFormPlacement::FreeIni()
{
    FIni.reset();
}

namespace {

// The INI object for one read, one write or one whole pass: opened unless a
// pass has it open already, and freed at the end however that ends, by the
// scope that opened it (a whole pass frees it in any case).
class TIniScope {
public:
    enum TEnd { FreeIfOpenedHere, FreeAlways };

    TIniScope(TFormPlacement& placement, TEnd end)
        : FPlacement(placement), FFree(end == FreeAlways || !placement.IniFile())
    {
        placement.OpenIni();
    }
    TIniScope(const TIniScope&) = delete;
    TIniScope& operator=(const TIniScope&) = delete;
    ~TIniScope()
    {
        if (FFree)
            FPlacement.FreeIni();
    }
    TCustomIniFile* Get() const { return FPlacement.IniFile(); }

private:
    TFormPlacement& FPlacement;
    bool FFree;
};

} // namespace

std::string TFormPlacement::ReadSetting(const std::string& section, const std::string& key, const std::string& defaultText)
{
    TIniScope ini(*this, TIniScope::FreeIfOpenedHere);
    return StoreReadText(ini.Get(), section, key, defaultText);
}

void TFormPlacement::WriteSetting(const std::string& section, const std::string& key, const std::string& text)
{
    TIniScope ini(*this, TIniScope::FreeIfOpenedHere);
    StoreWriteText(ini.Get(), section, key, text);
}

int32_t TFormPlacement::ReadSettingNumber(const std::string& key, int32_t defaultValue)
{
    TIniScope ini(*this, TIniScope::FreeIfOpenedHere);
    return StoreReadNumber(ini.Get(), IniSection(), key, defaultValue);
}

void TFormPlacement::WriteSettingNumber(const std::string& key, int32_t value)
{
    TIniScope ini(*this, TIniScope::FreeIfOpenedHere);
    StoreWriteNumber(ini.Get(), IniSection(), key, value);
}

void TFormPlacement::Loaded()
{
    TComponent::Loaded();
    InstallEventHooks();
    UpdateHook();
}

void TFormPlacement::InstallEventHooks()
{
    TCustomForm* form = Form();
    if (!form || FHooksInstalled)
        return;
    FSaveFormShow = form->OnShow;
    form->OnShow = MakeMethod<&TFormPlacement::FormShow>(this);
    FSaveFormCloseQuery = form->OnCloseQuery;
    form->OnCloseQuery = MakeMethod<&TFormPlacement::FormCloseQuery>(this);
    FSaveFormDestroy = form->OnDestroy;
    form->OnDestroy = MakeMethod<&TFormPlacement::FormDestroy>(this);
    FHooksInstalled = true;
    if (FPreventResize)
        SetPreventResize(true);
}

void TFormPlacement::RemoveEventHooks()
{
    TCustomForm* form = Form();
    if (!form || !FHooksInstalled)
        return;
    // Only put back what is still ours: someone who hooked in after us keeps
    // their handler.
    if (form->OnShow == MakeMethod<&TFormPlacement::FormShow>(this))
        form->OnShow = FSaveFormShow;
    if (form->OnCloseQuery == MakeMethod<&TFormPlacement::FormCloseQuery>(this))
        form->OnCloseQuery = FSaveFormCloseQuery;
    if (form->OnDestroy == MakeMethod<&TFormPlacement::FormDestroy>(this))
        form->OnDestroy = FSaveFormDestroy;
    FHooksInstalled = false;
}

void TFormPlacement::FormShow(TObject* sender)
{
    if (FActive) {
        try {
            RestorePass();
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
    }
    FSaveFormShow(sender);
}

void TFormPlacement::FormCloseQuery(TObject* sender, bool& canClose)
{
    FSaveFormCloseQuery(sender, canClose);
    TCustomForm* form = Form();
    if (canClose && FActive && form && form->HandleAllocated()) {
        try {
            SavePass();
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
    }
}

void TFormPlacement::FormDestroy(TObject* sender)
{
    if (FActive && !FSaved) {
        FDestroyingPass = true;
        try {
            SavePass();
        } catch (...) {
            HandleCallbackException(std::current_exception());
        }
        FDestroyingPass = false;
    }
    FSaveFormDestroy(sender);
}

void TFormPlacement::SavePass()
{
    if (!FRestored && FActive)
        return;
    TIniScope ini(*this, TIniScope::FreeAlways);
    WriteSettingNumber("FormVersion", FVersion);
    SaveStep();
    OnSavePlacement(this);
    FSaved = true;
}

void TFormPlacement::SaveStep()
{
    TCustomForm* form = Form();
    if (!form)
        return;
    if (FOptions & (PlacementBit(fpState) | PlacementBit(fpPosition))) {
        SaveWindowPlacement(form, FIni.get(), IniSection());
        FIni->WriteFlag(IniSection(), "Visible", FDestroyingPass);
    }
    if ((FOptions & PlacementBit(fpActiveControl)) && form->ActiveControl())
        WriteSetting(IniSection(), "ActiveControl", form->ActiveControl()->Name());
}

void TFormPlacement::RestorePass()
{
    FSaved = false;
    {
        TIniScope ini(*this, TIniScope::FreeAlways);
        // The pass reads every key of its section, and on a first start none
        // of them is there: one list of the names spares the platform the
        // reads of those that are missing.
        if (auto* file = dynamic_cast<TIniFile*>(ini.Get()))
            file->TakeKeyNames(IniSection());
        // Restored even when the pass fails part way: what it did restore
        // is on screen and will be saved.
        struct TMarkRestored {
            bool& Restored;
            ~TMarkRestored() { Restored = true; }
        } mark{FRestored};
        if (ReadSettingNumber("FormVersion", 0) >= FVersion) {
            RestoreStep();
            FRestored = true;
            OnRestorePlacement(this);
            TCustomForm* form = Form();
            if (form && (FOptions & PlacementBit(fpActiveControl))) {
                std::string name = ReadSetting(IniSection(), "ActiveControl", "");
                auto* control = dynamic_cast<TWinControl*>(form->FindComponent(name));
                if (control && control->CanFocus())
                    form->SetActiveControl(control);
            }
        }
    }
    ResetMaxPosition();
}

void TFormPlacement::RestoreStep()
{
    if (TCustomForm* form = Form())
        LoadWindowPlacement(form, FIni.get(), IniSection(), (FOptions & PlacementBit(fpPosition)) != 0,
                            (FOptions & PlacementBit(fpState)) != 0);
}

void TFormPlacement::ResetMaxPosition()
{
    TCustomForm* form = Form();
    if (!form || !form->HandleAllocated() || IsLoading() || FPreventResize || !FMinMaxInfo->DefaultMinMaxInfo())
        return;
    HWND wnd = form->HandleValue();
    WINDOWPLACEMENT wp = PlacementForApplying(wnd);
    int mx = 0, my = 0;
    switch (form->BorderStyle()) {
    case bsSingle: case bsToolWindow: mx = SM_CXBORDER; my = SM_CYBORDER; break;
    case bsSizeable: case bsSizeToolWin: mx = SM_CXFRAME; my = SM_CYFRAME; break;
    case bsDialog: mx = SM_CXDLGFRAME; my = SM_CYDLGFRAME; break;
    default: break;
    }
    wp.ptMaxPosition = mx ? POINT{-GetSystemMetrics(mx), -GetSystemMetrics(my)} : POINT{0, 0};
    SetWindowPlacement(wnd, &wp);
}

void TFormPlacement::UpdateHook()
{
    TCustomForm* form = Form();
    if ((!FMinMaxInfo->DefaultMinMaxInfo() || FPreventResize) && form && !IsDesigning()) {
        FWinHook->SetWinControl(form);
        FWinHook->SetActive(true);
    } else {
        FWinHook->SetActive(false);
    }
}

void TFormPlacement::MinMaxInfoChanged(TObject*)
{
    ResetMaxPosition();
    if (!IsLoading())
        UpdateHook();
}

void TFormPlacement::SetPreventResize(bool value)
{
    TCustomForm* form = Form();
    if (value != FPreventResize || (value && FHooksInstalled)) {
        FPreventResize = value;
        ResetMaxPosition();
        if (form && form->HandleAllocated()) {
            bool active = FActive;
            FActive = false;
            LONG_PTR style = GetWindowLongPtrA(form->HandleValue(), GWL_STYLE);
            if (value) {
                FDefMaximize = (style & WS_MAXIMIZEBOX) != 0;
                style &= ~WS_MAXIMIZEBOX;
            } else if (FDefMaximize && form->BorderStyle() != bsDialog) {
                style |= WS_MAXIMIZEBOX;
            }
            SetWindowLongPtrA(form->HandleValue(), GWL_STYLE, style);
            FActive = active;
        }
        if (!IsLoading())
            UpdateHook();
    }
}

void TFormPlacement::HandleWindowMessage(TObject*, TMessage& msg, bool&)
{
    TCustomForm* form = Form();
    if (FPreventResize && form) {
        switch (msg.Msg) {
        case WM_GETMINMAXINFO:
            if (form->HandleAllocated() && IsWindowVisible(form->HandleValue())) {
                auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
                info->ptMinTrackSize = POINT{form->Width(), form->Height()};
                info->ptMaxTrackSize = POINT{form->Width(), form->Height()};
            }
            break;
        case WM_NCHITTEST:
            if (msg.Result >= HTLEFT && msg.Result <= HTBOTTOMRIGHT)
                msg.Result = HTNOWHERE;
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(msg.LParam) != 0) {
                HMENU menu = reinterpret_cast<HMENU>(msg.WParam);
                EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
            }
            break;
        default:
            break;
        }
        return;
    }
    if (msg.Msg != WM_GETMINMAXINFO)
        return;
    auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
    const TWinMinMaxInfo& m = *FMinMaxInfo;
    if (m.DefaultMinMaxInfo()) {
        info->ptMaxPosition = POINT{0, 0};
        return;
    }
    if (m.MaxPosLeft()) info->ptMaxPosition.x = m.MaxPosLeft();
    if (m.MaxPosTop()) info->ptMaxPosition.y = m.MaxPosTop();
    if (m.MaxSizeWidth()) info->ptMaxSize.x = m.MaxSizeWidth();
    if (m.MaxSizeHeight()) info->ptMaxSize.y = m.MaxSizeHeight();
    if (m.MaxTrackWidth()) info->ptMaxTrackSize.x = m.MaxTrackWidth();
    if (m.MaxTrackHeight()) info->ptMaxTrackSize.y = m.MaxTrackHeight();
    if (m.MinTrackWidth()) info->ptMinTrackSize.x = m.MinTrackWidth();
    if (m.MinTrackHeight()) info->ptMinTrackSize.y = m.MinTrackHeight();
}

// ------------------------------------------------------------- TFormStorage

const TClassInfo& TFormStorage::StaticClass()
{
    return MakeClassInfo<TFormStorage>("TFormStorage", &TFormPlacement::StaticClass(), [](TClassBuilder<TFormStorage>& b) {
        b.Object<TStrings>("StoredProps", &TFormStorage::StoredProps, &TFormStorage::SetStoredProps);
    });
}

TFormStorage::TFormStorage(TComponent* owner) : TFormPlacement(owner), FStoredProps(std::make_unique<TStringList>()) {}

TFormStorage::~TFormStorage()
{
    Destroying();
}

void TFormStorage::Loaded()
{
    TFormPlacement::Loaded();
    if (Owner())
        ResolveStoredList(Owner(), *FStoredProps);
}

void TFormStorage::Notification(TComponent* component, TOperation operation)
{
    TFormPlacement::Notification(component, operation);
    // A listed component that goes while the window lives takes its lines with it.
    if (operation == TOperation::opRemove && component != this && FStoredProps && !IsDestroying())
        RemoveStoredComponent(*FStoredProps, component);
}

void TFormStorage::SaveStep()
{
    TFormPlacement::SaveStep();
    SavePropertiesStep();
}

void TFormStorage::RestoreStep()
{
    TFormPlacement::RestoreStep();
    SetRestored();
    RestorePropertiesStep();
}

void TFormStorage::SavePropertiesStep()
{
    TPropsStorage worker;
    worker.SetSection(IniSection());
    worker.OnWriteString = [this](const std::string& s, const std::string& k, const std::string& v) {
        WriteSetting(s, k, v);
    };
    worker.OnEraseSection = [this](const std::string& s) { IniFile()->ClearSection(s); };
    worker.SaveListedProperties(Owner(), *FStoredProps);
}

void TFormStorage::RestorePropertiesStep()
{
    TPropsStorage worker;
    worker.SetSection(IniSection());
    worker.OnReadString = [this](const std::string& s, const std::string& k, const std::string& d) {
        return ReadSetting(s, k, d);
    };
    // Whatever goes wrong with the listed properties, the window opens.
    try {
        worker.LoadListedProperties(Owner(), *FStoredProps);
    } catch (...) {
    }
}
