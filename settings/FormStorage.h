#pragma once
// The form storage: remembers a window's position and size and a list of
// its widgets' published properties in an INI file. It takes over the
// window's show (restore), close-query (save) and destroy (save, if the
// close query did not) events once the window's layout has been built, and
// keeps the window from being dragged smaller than its minimum size.
#include "settings/IniFile.h"
#include "settings/WindowHook.h"
#include "toolkit/Forms.h"
#include "toolkit/StringList.h"

#include <memory>
#include <string>

enum TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = uint32_t;
constexpr TPlacementOptions PlacementBit(TPlacementOption o) { return 1u << o; }

enum TPlacementRegRoot { prCurrentUser, prLocalMachine, prCurrentConfig, prClassesRoot, prUsers, prDynData };

// The window's minimum and maximum sizes and its maximised position, outer
// pixels; 0 leaves the system's own value.
class TWinMinMaxInfo : public TPersistent {
public:
    QV_CLASS(TWinMinMaxInfo, TPersistent)

    void Assign(const TPersistent* source) override;
    bool DefaultMinMaxInfo() const;

    int MaxPosLeft() const { return FValues[0]; }
    void SetMaxPosLeft(int v) { Set(0, v); }
    int MaxPosTop() const { return FValues[1]; }
    void SetMaxPosTop(int v) { Set(1, v); }
    int MaxSizeHeight() const { return FValues[2]; }
    void SetMaxSizeHeight(int v) { Set(2, v); }
    int MaxSizeWidth() const { return FValues[3]; }
    void SetMaxSizeWidth(int v) { Set(3, v); }
    int MaxTrackHeight() const { return FValues[4]; }
    void SetMaxTrackHeight(int v) { Set(4, v); }
    int MaxTrackWidth() const { return FValues[5]; }
    void SetMaxTrackWidth(int v) { Set(5, v); }
    int MinTrackHeight() const { return FValues[6]; }
    void SetMinTrackHeight(int v) { Set(6, v); }
    int MinTrackWidth() const { return FValues[7]; }
    void SetMinTrackWidth(int v) { Set(7, v); }

    TNotifyEvent OnChange;

private:
    void Set(int index, int value);
    int FValues[8] = {};
};

class TFormPlacement : public TComponent {
public:
    QV_CLASS(TFormPlacement, TComponent)

    explicit TFormPlacement(TComponent* owner);
    ~TFormPlacement() override;

    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    // The stored name, or the program's own name with ".INI" when empty.
    std::string IniFileName() const;
    void SetIniFileName(const std::string& value) { FIniFileName = value; }
    // The stored section, or one made from the owner when empty.
    std::string IniSection() const;
    void SetIniSection(const std::string& value) { FIniSection = value; }
    bool UseRegistry() const { return FUseRegistry; }
    void SetUseRegistry(bool value) { FUseRegistry = value; }
    TPlacementRegRoot RegistryRoot() const { return FRegistryRoot; }
    void SetRegistryRoot(TPlacementRegRoot value) { FRegistryRoot = value; }
    TWinMinMaxInfo* MinMaxInfo() const { return FMinMaxInfo.get(); }
    void SetMinMaxInfo(TWinMinMaxInfo* value) { FMinMaxInfo->Assign(value); }
    TPlacementOptions Options() const { return FOptions; }
    void SetOptions(TPlacementOptions value) { FOptions = value & 7u; }
    bool PreventResize() const { return FPreventResize; }
    void SetPreventResize(bool value);
    int Version() const { return FVersion; }
    void SetVersion(int value) { FVersion = value; }

    TNotifyEvent OnSavePlacement;
    TNotifyEvent OnRestorePlacement;

    // The INI object of the pass in progress, or nullptr between passes.
    TCustomIniFile* IniFile() const { return FIni.get(); }
    void OpenIni();
    void FreeIni();

    virtual std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultText);
    virtual void WriteSetting(const std::string& section, const std::string& key, const std::string& text);
    int32_t ReadSettingNumber(const std::string& key, int32_t defaultValue);
    void WriteSettingNumber(const std::string& key, int32_t value);

    // The whole save and the whole restore; the window's events run them.
    void SavePass();
    void RestorePass();

    bool Restored() const { return FRestored; }
    bool Saved() const { return FSaved; }
    TWindowHook* WinHook() const { return FWinHook; }

    void ResetMaxPosition();
    void UpdateHook();

    static std::string DefaultIniFileName();
    static std::string DefaultSectionOf(const TComponent* component);

protected:
    void Loaded() override;
    virtual void SaveStep();
    virtual void RestoreStep();
    TCustomForm* Form() const;
    bool IsDestroyingPass() const { return FDestroyingPass; }
    void SetRestored() { FRestored = true; }

private:
    void InstallEventHooks();
    void RemoveEventHooks();
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);
    void HandleWindowMessage(TObject* sender, TMessage& msg, bool& handled);
    void MinMaxInfoChanged(TObject* sender);

    bool FActive = true;
    std::string FIniFileName;
    std::string FIniSection;
    bool FUseRegistry = false;
    TPlacementRegRoot FRegistryRoot = prCurrentUser;
    std::unique_ptr<TWinMinMaxInfo> FMinMaxInfo;
    TPlacementOptions FOptions = 0;
    bool FPreventResize = false;
    int FVersion = 0;

    std::unique_ptr<TCustomIniFile> FIni;
    TWindowHook* FWinHook = nullptr; // owned as a component
    TNotifyEvent FSaveFormShow;
    TCloseQueryEvent FSaveFormCloseQuery;
    TNotifyEvent FSaveFormDestroy;
    bool FHooksInstalled = false;
    bool FRestored = false;
    bool FSaved = false;
    bool FDestroyingPass = false;
    bool FDefMaximize = false;
};

// Adds the list of stored widget properties, saved and restored with the
// placement.
class TFormStorage : public TFormPlacement {
public:
    QV_CLASS(TFormStorage, TFormPlacement)

    explicit TFormStorage(TComponent* owner);
    ~TFormStorage() override;

    TStrings* StoredProps() const { return FStoredProps.get(); }
    void SetStoredProps(TStrings* value) { FStoredProps->Assign(value); }

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void SaveStep() override;
    void RestoreStep() override;
    virtual void SavePropertiesStep();
    virtual void RestorePropertiesStep();

private:
    std::unique_ptr<TStringList> FStoredProps;
};
