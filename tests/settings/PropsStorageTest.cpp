// Stored properties against real INI files in a temporary directory: a small
// form with memos, edit fields, buttons, panels and a probe control that
// publishes one property of every kind is saved and restored through the
// same callbacks the form storage uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>
#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "settings/IniFile.h"
#include "settings/PropsStorage.h"
#include "tests/support/TestSupport.h"
#include "toolkit/Collection.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/StdCtrls.h"
#include "toolkit/StringList.h"

using testing_support::TempDir;

namespace {

// ------------------------------------------------------------ test classes

enum TShade { shNone, shLight, shDark };
enum TFlavour { flSweet, flSour, flSalty, flBitter, flUmami };

// The test classes' type descriptors, made on first use and kept by name.
const TTypeInfo& TestType(const char* name, TTypeKind kind, std::vector<std::string> names = {},
                          const TTypeInfo* element = nullptr, TFloatType floatType = TFloatType::Double)
{
    static std::map<std::string, TTypeInfo> types;
    TTypeInfo& t = types[name];
    if (t.Name.empty()) {
        t.Kind = kind;
        t.Name = name;
        t.Names = std::move(names);
        t.CompType = element;
        t.FloatType = floatType;
    }
    return t;
}

const TTypeInfo& TypeShade()
{
    return TestType("TShade", TTypeKind::Enumeration, {"shNone", "shLight", "shDark"});
}

const TTypeInfo& TypeFlavours()
{
    static const TTypeInfo& element =
        TestType("TFlavour", TTypeKind::Enumeration, {"flSweet", "flSour", "flSalty", "flBitter", "flUmami"});
    return TestType("TFlavours", TTypeKind::Set, {}, &element);
}

class TPart : public TCollectionItem {
public:
    QV_CLASS(TPart, TCollectionItem)
    using TCollectionItem::TCollectionItem;

    const std::string& Label() const { return FLabel; }
    void SetLabel(const std::string& value) { FLabel = value; }
    int Weight() const { return FWeight; }
    void SetWeight(int value) { FWeight = value; }

    void Assign(const TPersistent* source) override
    {
        auto* other = dynamic_cast<const TPart*>(source);
        if (!other)
            return TCollectionItem::Assign(source);
        FLabel = other->FLabel;
        FWeight = other->FWeight;
    }

private:
    std::string FLabel;
    int FWeight = 0;
};

const TClassInfo& TPart::StaticClass()
{
    return MakeClassInfo<TPart>("TPart", &TCollectionItem::StaticClass(), [](TClassBuilder<TPart>& b) {
        b.String("Label", TypeString(), &TPart::Label, &TPart::SetLabel)
            .Ordinal("Weight", TypeInteger(), &TPart::Weight, &TPart::SetWeight);
    });
}

// Publishes one property of every kind the store handles, and an event.
class TProbe : public TControl {
public:
    QV_CLASS(TProbe, TControl)
    explicit TProbe(TComponent* owner)
        : TControl(owner), FParts(std::make_unique<TCollection>(CollectionItemFactory<TPart>()))
    {
    }

    int Count() const { return FCount; }
    void SetCount(int value) { FCount = value; }
    int64_t Big() const { return FBig; }
    void SetBig(int64_t value) { FBig = value; }
    char Letter() const { return FLetter; }
    void SetLetter(char value) { FLetter = value; }
    wchar_t Wide() const { return FWide; }
    void SetWide(wchar_t value) { FWide = value; }
    TShade Shade() const { return FShade; }
    void SetShade(TShade value) { FShade = value; }
    double Ratio() const { return FRatio; }
    void SetRatio(double value) { FRatio = value; }
    float Scale() const { return FScale; }
    void SetScale(float value) { FScale = value; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    uint32_t Flavours() const { return FFlavours; }
    void SetFlavours(uint32_t value) { FFlavours = value; }
    const std::string& Note() const { return FNote; }
    void SetNote(const std::string& value) { FNote = value; }
    TPanel* Dock() const { return FDock; }
    void SetDock(TPanel* value) { Refer(FDock, value); }
    TPanel* Far() const { return FFar; }
    void SetFar(TPanel* value) { Refer(FFar, value); }
    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* value)
    {
        FLines->Assign(value);
        ++LinesAssigned;
    }
    TCollection* Parts() const { return FParts.get(); }
    void SetParts(TCollection* value) { FParts->Assign(value); }
    // Refuses negative values, as a widget may refuse what a file says.
    int Strict() const { return FStrict; }
    void SetStrict(int value)
    {
        if (value < 0)
            throw EPropertyError("Strict must not be negative");
        FStrict = value;
    }

    int LinesAssigned = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TControl::Notification(component, operation);
        if (operation == TOperation::opRemove && component == FDock)
            FDock = nullptr;
        if (operation == TOperation::opRemove && component == FFar)
            FFar = nullptr;
    }

private:
    void Refer(TPanel*& slot, TPanel* value)
    {
        slot = value;
        if (value)
            FreeNotification(value);
    }

    int FCount = 0;
    int64_t FBig = 0;
    char FLetter = 'a';
    wchar_t FWide = L'w';
    TShade FShade = shNone;
    double FRatio = 0;
    float FScale = 1;
    std::string FTitle;
    uint32_t FFlavours = 0;
    std::string FNote;
    TPanel* FDock = nullptr;
    TPanel* FFar = nullptr;
    std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
    std::unique_ptr<TCollection> FParts;
    int FStrict = 0;
};

const TClassInfo& TProbe::StaticClass()
{
    return MakeClassInfo<TProbe>("TProbe", &TControl::StaticClass(), [](TClassBuilder<TProbe>& b) {
        b.Ordinal("Count", TypeInteger(), &TProbe::Count, &TProbe::SetCount)
            .Ordinal("Big", TypeInt64(), &TProbe::Big, &TProbe::SetBig)
            .Ordinal("Letter", TypeChar(), &TProbe::Letter, &TProbe::SetLetter)
            .Ordinal("Wide", TestType("WideChar", TTypeKind::WChar), &TProbe::Wide, &TProbe::SetWide)
            .Ordinal("Shade", TypeShade(), &TProbe::Shade, &TProbe::SetShade)
            .Float("Ratio", TypeDouble(), &TProbe::Ratio, &TProbe::SetRatio)
            .Float("Scale", TestType("Single", TTypeKind::Float, {}, nullptr, TFloatType::Single), &TProbe::Scale,
                   &TProbe::SetScale)
            .String("Title", TypeString(), &TProbe::Title, &TProbe::SetTitle)
            .Ordinal("Flavours", TypeFlavours(), &TProbe::Flavours, &TProbe::SetFlavours)
            .String("Note", TypeVariant(), &TProbe::Note, &TProbe::SetNote)
            .Object<TPanel>("Dock", &TProbe::Dock, &TProbe::SetDock)
            .Object<TPanel>("Far", &TProbe::Far, &TProbe::SetFar)
            .Object<TStrings>("Lines", &TProbe::Lines, &TProbe::SetLines)
            .Object<TCollection>("Parts", &TProbe::Parts, &TProbe::SetParts)
            .Ordinal("Strict", TypeInteger(), &TProbe::Strict, &TProbe::SetStrict);
    });
}

// A probe that also publishes an event, which the store must leave out.
class TPingProbe : public TProbe {
public:
    QV_CLASS(TPingProbe, TProbe)
    using TProbe::TProbe;
    TNotifyEvent OnPing;
};

const TClassInfo& TPingProbe::StaticClass()
{
    // The builder has nothing for events, so this class is described by hand.
    static const TClassInfo* info = [] {
        auto* i = new TClassInfo("TPingProbe", &TProbe::StaticClass());
        TPropInfo event;
        event.Name = "OnPing";
        event.PropType = &TestType("TNotifyEvent", TTypeKind::Method);
        i->AddProperty(event);
        return i;
    }();
    return *info;
}

// Deletes the lines of components that go away, as the storage component
// does from its own removal notice.
class TListKeeper : public TComponent {
public:
    TListKeeper(TComponent* owner, TStrings& list) : TComponent(owner), FList(list) {}

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == TOperation::opRemove)
            RemoveStoredComponent(FList, component);
    }

private:
    TStrings& FList;
};

// ------------------------------------------------------------ test support

struct IniEntry {
    std::string section, key, value;
    bool operator==(const IniEntry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const IniEntry& e)
{
    return out << "[" << e.section << "] " << e.key << "=" << e.value;
}

// Every key of an INI file in file order, read from its bytes rather than
// through the profile layer, so quotes and blanks show as written.
std::vector<IniEntry> ReadIni(const std::string& path)
{
    std::vector<IniEntry> entries;
    std::istringstream in(testing_support::ReadFileBytes(path));
    std::string line, section;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 1 && line.front() == '[' && line.back() == ']')
            section = line.substr(1, line.size() - 2);
        else if (auto eq = line.find('='); eq != std::string::npos)
            entries.push_back({section, line.substr(0, eq), line.substr(eq + 1)});
    }
    return entries;
}

std::string IniValue(const std::vector<IniEntry>& entries, const std::string& section, const std::string& key)
{
    for (const auto& e : entries)
        if (e.section == section && e.key == key)
            return e.value;
    return "<absent>";
}

// A worker wired to an INI file as the form storage wires it.
std::unique_ptr<TPropsStorage> Worker(TIniFile& ini, const std::string& section = "User")
{
    auto worker = std::make_unique<TPropsStorage>();
    worker->SetSection(section);
    worker->OnReadString = [&ini](const std::string& s, const std::string& k, const std::string& d) {
        return StoreReadText(&ini, s, k, d);
    };
    worker->OnWriteString = [&ini](const std::string& s, const std::string& k, const std::string& v) {
        StoreWriteText(&ini, s, k, v);
    };
    worker->OnEraseSection = [&ini](const std::string& s) { ini.ClearSection(s); };
    return worker;
}

std::vector<std::string> Lines(const TStrings& list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

// A window laid out like a small notebook, plus a second window that holds
// a panel for references across windows.
struct ProbeWindow {
    // First, so that it outlives the components whose removal edits it.
    TStringList list;
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    std::unique_ptr<TForm> other = std::make_unique<TForm>(Application);
    TMemo* memo1;
    TMemo* memo2;
    TEdit* name1;
    TEdit* name2;
    TButton* page1;
    TButton* page2;
    TPanel* dockTop;
    TPanel* dockBottom;
    TPanel* shelf;
    TProbe* probe;

    ProbeWindow()
    {
        form->SetName("ProbeForm");
        other->SetName("OtherForm");
        memo1 = Make<TMemo>("Memo01");
        memo2 = Make<TMemo>("Memo02");
        name1 = Make<TEdit>("Name01");
        name2 = Make<TEdit>("Name02");
        page1 = Make<TButton>("Page01");
        page2 = Make<TButton>("Page02");
        dockTop = Make<TPanel>("DockTop");
        dockBottom = Make<TPanel>("DockBottom");
        probe = Make<TProbe>("Probe");
        shelf = new TPanel(other.get());
        shelf->SetName("Shelf");
        shelf->SetParent(other.get());
        form->HandleNeeded();

        name1->SetText("1");
        name2->SetText("2");
        page1->SetEnabled(false);
        memo2->SetVisible(false);
        probe->SetDock(dockTop);
        probe->SetFar(shelf);
    }

    template <class C>
    C* Make(const char* name)
    {
        C* c = new C(form.get());
        c->SetName(name);
        c->SetParent(form.get());
        return c;
    }

    void Use(const std::vector<std::string>& lines)
    {
        list.Clear();
        for (const auto& line : lines)
            list.Add(line);
        ResolveStoredList(form.get(), list);
    }
};

// The probe's lines for every kind, with the font of a memo.
const std::vector<std::string> kAllKinds = {
    "Probe.Count", "Probe.Big", "Probe.Letter", "Probe.Wide", "Probe.Shade", "Probe.Ratio", "Probe.Scale",
    "Probe.Title", "Probe.Flavours", "Probe.Note", "Probe.Dock", "Probe.Far", "Probe.Lines", "Probe.Parts",
    "Memo01.Font", "Memo01.Color", "Memo01.Visible", "Page01.Enabled", "Name01.Text",
};

} // namespace

// ------------------------------------------------------------ property lists

TEST(PropInfoList, FontPropertiesInNameOrderWithHeightBeforeSize)
{
    TFont font;
    TPropInfoList list(&font);
    std::vector<std::string> names;
    for (const TPropInfo* p : list)
        names.push_back(p->Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Charset", "Color", "Height", "Name", "Pitch", "Size", "Style"}));
}

TEST(PropInfoList, SortsIgnoringCaseAndLeavesOutEvents)
{
    TPingProbe probe(nullptr);
    TPropInfoList list(&probe);
    std::vector<std::string> names;
    for (const TPropInfo* p : list)
        names.push_back(p->Name);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; }));
    EXPECT_EQ(std::count(names.begin(), names.end(), "OnPing"), 0);
    // Everything published but the event: the probe's own and its ancestors'.
    EXPECT_EQ(list.Count(), static_cast<int>(TPingProbe::StaticClass().Properties().size()) - 1);

    struct Case {
        const char* asked;
        const char* found;
    } cases[] = {
        {"count", "Count"}, {"FLAVOURS", "Flavours"}, {"name", "Name"}, {"onping", nullptr}, {"Nothing", nullptr},
    };
    for (const auto& c : cases) {
        const TPropInfo* p = list.Find(c.asked);
        EXPECT_EQ(p ? p->Name : std::string("<none>"), c.found ? c.found : "<none>") << c.asked;
    }
    EXPECT_THROW(list.Items(list.Count()), EListError);
}

// ------------------------------------------------------------ stored lists

TEST(StoredItem, SplitsAtTheFirstDotAndTrims)
{
    struct Case {
        const char* line;
        const char* component; // nullptr: not an item
        const char* property;
    } cases[] = {
        {"Memo01.Color", "Memo01", "Color"},
        {"  Memo01 .  Font ", "Memo01", "Font"},
        {"ToolBar.Font.Name", "ToolBar", "Font.Name"},
        {"toolbar.currentdock", "toolbar", "currentdock"},
        {"Memo01", nullptr, nullptr},
        {".Color", nullptr, nullptr},
        {"Memo01.", nullptr, nullptr},
        {" . ", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        auto item = StoredItem::Parse(c.line);
        std::string actual = item ? item->Component + "|" + item->Property : "<invalid>";
        std::string expected = c.component ? std::string(c.component) + "|" + c.property : "<invalid>";
        EXPECT_EQ(actual, expected) << "line \"" << c.line << "\"";
    }
}

TEST(StoredList, ResolveBindsOwnedComponentsAndDropsTheRest)
{
    ProbeWindow w;
    w.Use({"Memo01.Color", "nobody.Color", "memo02 . visible", "Memo01", "Shelf.Color", ".Font", "PAGE01.Enabled"});
    // Shelf belongs to the other window, so it is not found here.
    EXPECT_EQ(Lines(w.list), (std::vector<std::string>{"Memo01.Color", "memo02 . visible", "PAGE01.Enabled"}));
    std::vector<TComponent*> bound;
    for (int i = 0; i < w.list.Count(); ++i)
        bound.push_back(StoredComponent(w.list, i));
    EXPECT_EQ(bound, (std::vector<TComponent*>{w.memo1, w.memo2, w.page1}));
}

TEST(StoredList, LinesOfAFreedComponentGoWithIt)
{
    ProbeWindow w;
    new TListKeeper(w.form.get(), w.list);
    w.Use({"Memo01.Color", "Memo02.Color", "Memo02.Font", "Name01.Text"});
    delete w.memo2;
    EXPECT_EQ(Lines(w.list), (std::vector<std::string>{"Memo01.Color", "Name01.Text"}));
    EXPECT_EQ(RemoveStoredComponent(w.list, w.name1), 1);
    EXPECT_EQ(RemoveStoredComponent(w.list, nullptr), 0);
    EXPECT_EQ(Lines(w.list), (std::vector<std::string>{"Memo01.Color"}));
}

TEST(StoredList, RenameFollowsComponentNamesAndDropsUnboundLines)
{
    ProbeWindow w;
    w.Use({"memo01 . color", "Name01.Text"});
    w.list.Add("Memo02.Color"); // added after binding: no component
    w.memo1->SetName("Editor");
    RenameStoredList(w.list);
    EXPECT_EQ(Lines(w.list), (std::vector<std::string>{"Editor.color", "Name01.Text"}));
}

// ------------------------------------------------------------ saving

TEST(PropsStorageSave, WritesEveryKindUnderExactKeys)
{
    TempDir dir;
    ProbeWindow w;
    w.memo1->Font()->SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    w.name1->SetText("  Monday  ");
    w.probe->SetCount(-42);
    w.probe->SetBig(-9000000000LL);
    w.probe->SetLetter('Q');
    w.probe->SetWide(L'Z');
    w.probe->SetShade(shDark);
    w.probe->SetRatio(0.1);
    w.probe->SetScale(1.5f);
    w.probe->SetTitle("Title");
    w.probe->SetFlavours((1u << flSweet) | (1u << flSalty));
    w.probe->SetNote("a note");
    w.probe->Lines()->Add("\"quoted\"");
    w.probe->Lines()->Add("plain");
    auto* part = static_cast<TPart*>(w.probe->Parts()->Add());
    part->SetLabel("first");
    part->SetWeight(7);
    w.Use(kAllKinds);

    TIniFile ini(dir.File("Quiverleaf.ini"));
    Worker(ini)->SaveListedProperties(w.form.get(), w.list);

    std::vector<IniEntry> expected = {
        {"User", "Probe_Count", "-42"},
        {"User", "Probe_Big", "-9000000000"},
        {"User", "Probe_Letter", "Q"},
        {"User", "Probe_Wide", "Z"},
        {"User", "Probe_Shade", "shDark"},
        {"User", "Probe_Ratio", "0.1"},
        {"User", "Probe_Scale", "1.5"},
        {"User", "Probe_Title", "Title"},
        {"User", "Probe_Flavours", "[flSweet,flSalty]"},
        {"User", "Probe_Note", "a note"},
        {"User", "Probe_Dock", "DockTop"},
        {"User", "Probe_Far", "OtherForm.Shelf"},
        {"User", "Probe_Parts.Count", "1"},
        {"User", "Memo01_FontCharset", "1"},
        {"User", "Memo01_FontColor", "-2147483640"},
        {"User", "Memo01_FontHeight", "-11"},
        {"User", "Memo01_FontName", "MS Sans Serif"},
        {"User", "Memo01_FontPitch", "fpDefault"},
        {"User", "Memo01_FontSize", "8"},
        {"User", "Memo01_FontStyle", "[fsBold,fsItalic]"},
        {"User", "Memo01_Color", "-2147483643"},
        {"User", "Memo01_Visible", "True"},
        {"User", "Page01_Enabled", "False"},
        {"User", "Name01_Text", "Monday"},
        {"User.Probe_Lines", "Count", "2"},
        {"User.Probe_Lines", "Item0", "\"\"quoted\"\""},
        {"User.Probe_Lines", "Item1", "plain"},
        {"User.Probe_Parts", "Item0_Label", "first"},
        {"User.Probe_Parts", "Item0_Weight", "7"},
    };
    EXPECT_EQ(ReadIni(dir.File("Quiverleaf.ini")), expected);
}

TEST(PropsStorageSave, OtherLetterCaseInTheListWritesDeclaredNames)
{
    TempDir dir;
    ProbeWindow w;
    w.name2->SetText("");
    w.Use({"memo01.color", "PAGE02.ENABLED", "memo02.visible", "name02.text", "probe.dock"});
    TIniFile ini(dir.File("case.ini"));
    Worker(ini)->SaveListedProperties(w.form.get(), w.list);
    std::vector<IniEntry> expected = {
        {"User", "Memo01_Color", "-2147483643"}, {"User", "Page02_Enabled", "True"},
        {"User", "Memo02_Visible", "False"},     {"User", "Name02_Text", ""},
        {"User", "Probe_Dock", "DockTop"},
    };
    EXPECT_EQ(ReadIni(dir.File("case.ini")), expected);
    // The lines now spell the components as they are named.
    EXPECT_EQ(Lines(w.list)[0], "Memo01.color");
}

TEST(PropsStorageSave, NilReferenceWritesNothingAndKeepsAnOlderKey)
{
    TempDir dir;
    ProbeWindow w;
    w.Use({"Probe.Dock", "Probe.Lines"});
    const std::string path = dir.File("nil.ini");
    testing_support::WriteFileBytes(path, "[User]\r\nProbe_Dock=DockBottom\r\n"
                                          "[User.Probe_Lines]\r\nCount=1\r\nItem0=old\r\n");
    w.probe->SetDock(nullptr);
    TIniFile ini(path);
    Worker(ini)->SaveListedProperties(w.form.get(), w.list);
    auto entries = ReadIni(path);
    EXPECT_EQ(IniValue(entries, "User", "Probe_Dock"), "DockBottom");
    // An empty list erases its section and writes nothing into it.
    EXPECT_EQ(IniValue(entries, "User.Probe_Lines", "Count"), "<absent>");
}

TEST(PropsStorageSave, AWriteErrorEndsThePass)
{
    ProbeWindow w;
    w.Use({"Memo01.Color", "Name01.Text", "Page01.Enabled"});
    TPropsStorage worker;
    worker.SetSection("User");
    std::vector<std::string> written;
    worker.OnWriteString = [&](const std::string&, const std::string& key, const std::string&) {
        if (key == "Name01_Text")
            throw EFileError("Unable to write to test.ini");
        written.push_back(key);
    };
    EXPECT_THROW(worker.SaveListedProperties(w.form.get(), w.list), EFileError);
    EXPECT_EQ(written, std::vector<std::string>{"Memo01_Color"});
    EXPECT_EQ(worker.Window(), nullptr);
}

TEST(PropsStorageSave, WithoutCallbacksNothingHappens)
{
    ProbeWindow w;
    w.Use({"Memo01.Color", "Name01.Text"});
    TPropsStorage worker;
    EXPECT_NO_THROW(worker.SaveListedProperties(w.form.get(), w.list));
    EXPECT_EQ(worker.ReadString("User", "Memo01_Color", "7"), "");
    w.memo1->SetColor(clWhite);
    worker.LoadListedProperties(w.form.get(), w.list);
    // Reading without a callback answers an empty text: an integer becomes 0.
    EXPECT_EQ(w.memo1->Color(), 0);
}

// ------------------------------------------------------------ restoring

namespace {

// One restore from the given file contents of section User.
struct RestoreCase {
    const char* name;
    std::vector<std::string> lines;
    const char* file;
    std::function<void(ProbeWindow&)> before;
    std::function<std::string(ProbeWindow&)> actual;
    std::string expected;
};

class PropsStorageRestore : public testing::Test {
protected:
    void Run(const std::vector<RestoreCase>& cases)
    {
        int serial = 0;
        for (const auto& c : cases) {
            ProbeWindow w;
            if (c.before)
                c.before(w);
            w.Use(c.lines);
            // A fresh file name every time: the profile layer caches files
            // by name and could miss a rewrite within the same second.
            const std::string path = dir.File("restore" + std::to_string(++serial) + ".ini");
            testing_support::WriteFileBytes(path, c.file);
            TIniFile ini(path);
            Worker(ini)->LoadListedProperties(w.form.get(), w.list);
            EXPECT_EQ(c.actual(w), c.expected) << c.name;
        }
    }

    TempDir dir;
};

std::string Text(int value)
{
    return std::to_string(value);
}

} // namespace

TEST_F(PropsStorageRestore, Integers)
{
    auto color = [](ProbeWindow& w) { return Text(w.memo1->Color()); };
    auto big = [](ProbeWindow& w) { return std::to_string(w.probe->Big()); };
    auto white = [](ProbeWindow& w) { w.memo1->SetColor(clWhite); };
    Run({
        {"decimal", {"Memo01.Color"}, "[User]\r\nMemo01_Color=-2147483643\r\n", white, color, "-2147483643"},
        {"no number gives 0", {"Memo01.Color"}, "[User]\r\nMemo01_Color=abc\r\n", white, color, "0"},
        {"hex with $", {"Memo01.Color"}, "[User]\r\nMemo01_Color=$FF\r\n", white, color, "255"},
        {"hex with 0x", {"Memo01.Color"}, "[User]\r\nMemo01_Color=0x10\r\n", white, color, "16"},
        {"trailing text gives 0", {"Memo01.Color"}, "[User]\r\nMemo01_Color=12abc\r\n", white, color, "0"},
        {"out of range gives 0", {"Memo01.Color"}, "[User]\r\nMemo01_Color=4294967295\r\n", white, color, "0"},
        {"empty gives 0", {"Memo01.Color"}, "[User]\r\nMemo01_Color=\r\n", white, color, "0"},
        {"missing key unchanged", {"Memo01.Color"}, "[User]\r\n", white, color, Text(clWhite)},
        {"64-bit", {"Probe.Big"}, "[User]\r\nProbe_Big=-9000000000\r\n", nullptr, big, "-9000000000"},
        {"64-bit failure", {"Probe.Big"}, "[User]\r\nProbe_Big=9223372036854775808\r\n",
         [](ProbeWindow& w) { w.probe->SetBig(5); }, big, "0"},
    });
}

TEST_F(PropsStorageRestore, EnumerationsAndBooleans)
{
    auto enabled = [](ProbeWindow& w) { return std::string(w.page1->Enabled() ? "true" : "false"); };
    auto shade = [](ProbeWindow& w) { return Text(w.probe->Shade()); };
    Run({
        {"TRUE", {"Page01.Enabled"}, "[User]\r\nPage01_Enabled=TRUE\r\n", nullptr, enabled, "true"},
        {"true", {"Page01.Enabled"}, "[User]\r\nPage01_Enabled=true\r\n", nullptr, enabled, "true"},
        {"yes leaves false", {"Page01.Enabled"}, "[User]\r\nPage01_Enabled=yes\r\n", nullptr, enabled, "false"},
        {"yes leaves true", {"Page01.Enabled"}, "[User]\r\nPage01_Enabled=yes\r\n",
         [](ProbeWindow& w) { w.page1->SetEnabled(true); }, enabled, "true"},
        {"1 is no name", {"Page01.Enabled"}, "[User]\r\nPage01_Enabled=1\r\n", nullptr, enabled, "false"},
        {"enum name any case", {"Probe.Shade"}, "[User]\r\nProbe_Shade=SHLIGHT\r\n", nullptr, shade, "1"},
        {"enum no match", {"Probe.Shade"}, "[User]\r\nProbe_Shade=shPurple\r\n",
         [](ProbeWindow& w) { w.probe->SetShade(shDark); }, shade, "2"},
        {"enum by ordinal is no name", {"Probe.Shade"}, "[User]\r\nProbe_Shade=2\r\n", nullptr, shade, "0"},
    });
}

TEST_F(PropsStorageRestore, Sets)
{
    auto style = [](ProbeWindow& w) { return Text(static_cast<int>(w.memo1->Font()->Style())); };
    auto flavours = [](ProbeWindow& w) { return Text(static_cast<int>(w.probe->Flavours())); };
    auto bold = [](ProbeWindow& w) { w.memo1->Font()->SetStyle(FontStyleBit(fsBold)); };
    const std::string boldItalic = Text(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    Run({
        {"words skipped", {"Memo01.Font"}, "[User]\r\nMemo01_FontStyle=[fsItalic, bogus ,FSBOLD]\r\n", nullptr, style,
         boldItalic},
        {"no brackets", {"Memo01.Font"}, "[User]\r\nMemo01_FontStyle=fsUnderline\r\n", bold, style,
         Text(FontStyleBit(fsUnderline))},
        {"[] empties", {"Memo01.Font"}, "[User]\r\nMemo01_FontStyle=[]\r\n", bold, style, "0"},
        {"empty empties", {"Memo01.Font"}, "[User]\r\nMemo01_FontStyle=\r\n", bold, style, "0"},
        {"only bogus empties", {"Memo01.Font"}, "[User]\r\nMemo01_FontStyle=[fsHeavy]\r\n", bold, style, "0"},
        {"probe set", {"Probe.Flavours"}, "[User]\r\nProbe_Flavours=[flUmami,,flSour]]\r\n", nullptr, flavours,
         Text((1 << flUmami) | (1 << flSour))},
    });
}

TEST_F(PropsStorageRestore, StringsCharsFloatsAndVariants)
{
    auto name1 = [](ProbeWindow& w) { return "<" + w.name1->GetText() + ">"; };
    auto letter = [](ProbeWindow& w) { return std::string(1, w.probe->Letter()); };
    auto wide = [](ProbeWindow& w) { return Text(w.probe->Wide()); };
    auto ratio = [](ProbeWindow& w) { return Text(static_cast<int>(w.probe->Ratio() * 1000)); };
    auto scale = [](ProbeWindow& w) { return Text(static_cast<int>(w.probe->Scale() * 1000)); };
    auto note = [](ProbeWindow& w) { return w.probe->Note(); };
    auto ratio3 = [](ProbeWindow& w) { w.probe->SetRatio(3); };
    Run({
        {"text", {"Name01.Text"}, "[User]\r\nName01_Text=Monday\r\n", nullptr, name1, "<Monday>"},
        {"text trimmed", {"Name01.Text"}, "[User]\r\nName01_Text=  two words \t\r\n", nullptr, name1, "<two words>"},
        {"quoted text", {"Name01.Text"}, "[User]\r\nName01_Text=\"\"x\"\"\r\n", nullptr, name1, "<\"x\">"},
        {"empty text", {"Name01.Text"}, "[User]\r\nName01_Text=\r\n", nullptr, name1, "<>"},
        {"missing text trims", {"Name01.Text"}, "[User]\r\n",
         [](ProbeWindow& w) { w.name1->SetText(" 1 "); }, name1, "<1>"},
        {"first char", {"Probe.Letter"}, "[User]\r\nProbe_Letter=xyz\r\n", nullptr, letter, "x"},
        {"empty char unchanged", {"Probe.Letter"}, "[User]\r\nProbe_Letter=\r\n", nullptr, letter, "a"},
        {"wide char", {"Probe.Wide"}, "[User]\r\nProbe_Wide=Q\r\n", nullptr, wide, Text(L'Q')},
        {"float", {"Probe.Ratio"}, "[User]\r\nProbe_Ratio=2.5\r\n", ratio3, ratio, "2500"},
        {"float exponent", {"Probe.Ratio"}, "[User]\r\nProbe_Ratio=1.5E-2\r\n", ratio3, ratio, "15"},
        {"float failure unchanged", {"Probe.Ratio"}, "[User]\r\nProbe_Ratio=2,5x\r\n", ratio3, ratio, "3000"},
        {"single too big unchanged", {"Probe.Scale"}, "[User]\r\nProbe_Scale=1E300\r\n", nullptr, scale, "1000"},
        {"variant", {"Probe.Note"}, "[User]\r\nProbe_Note=12 apples\r\n",
         [](ProbeWindow& w) { w.probe->SetNote("old"); }, note, "12 apples"},
        // An empty variant has no text to read with, so it is not read at all.
        {"empty variant not read", {"Probe.Note"}, "[User]\r\nProbe_Note=12 apples\r\n", nullptr, note, ""},
    });
}

TEST_F(PropsStorageRestore, ComponentReferences)
{
    auto dock = [](ProbeWindow& w) { return std::string(w.probe->Dock() ? w.probe->Dock()->Name() : "nil"); };
    auto farRef = [](ProbeWindow& w) { return std::string(w.probe->Far() ? w.probe->Far()->Name() : "nil"); };
    auto noDock = [](ProbeWindow& w) { w.probe->SetDock(nullptr); };
    Run({
        {"by name", {"Probe.Dock"}, "[User]\r\nProbe_Dock=DockBottom\r\n", nullptr, dock, "DockBottom"},
        {"by name any case", {"Probe.Dock"}, "[User]\r\nProbe_Dock=dockbottom\r\n", nullptr, dock, "DockBottom"},
        {"(null)", {"Probe.Dock"}, "[User]\r\nProbe_Dock=(NULL)\r\n", nullptr, dock, "nil"},
        {"unknown name", {"Probe.Dock"}, "[User]\r\nProbe_Dock=DockMiddle\r\n", nullptr, dock, "nil"},
        {"empty unchanged", {"Probe.Dock"}, "[User]\r\nProbe_Dock=\r\n", nullptr, dock, "DockTop"},
        {"nil not restored", {"Probe.Dock"}, "[User]\r\nProbe_Dock=DockBottom\r\n", noDock, dock, "nil"},
        {"other window", {"Probe.Far"}, "[User]\r\nProbe_Far=otherform.SHELF\r\n",
         [](ProbeWindow& w) { w.probe->SetFar(w.dockTop); }, farRef, "Shelf"},
        {"this window by its name", {"Probe.Far"}, "[User]\r\nProbe_Far=ProbeForm.DockBottom\r\n", nullptr, farRef,
         "DockBottom"},
        {"unknown window unchanged", {"Probe.Far"}, "[User]\r\nProbe_Far=Elsewhere.Shelf\r\n", nullptr, farRef,
         "Shelf"},
        {"unknown in other window", {"Probe.Far"}, "[User]\r\nProbe_Far=OtherForm.Cupboard\r\n", nullptr, farRef,
         "nil"},
    });
}

TEST_F(PropsStorageRestore, FontSizeWinsOverHeight)
{
    auto font = [](ProbeWindow& w) {
        TFont* f = w.memo1->Font();
        return Text(f->Height()) + "/" + Text(f->Size()) + "/" + f->Name() + "/" + Text(f->Pitch());
    };
    // At the screen's pixels per inch, as the font converts.
    const std::string twelvePoint = Text(-MulDiv(12, ScreenPixelsPerInch(), 72)) + "/12";
    Run({
        {"size wins", {"Memo01.Font"}, "[User]\r\nMemo01_FontHeight=-40\r\nMemo01_FontSize=12\r\n", nullptr, font,
         (twelvePoint + "/MS Sans Serif/0")},
        {"height alone", {"Memo01.Font"}, "[User]\r\nMemo01_FontHeight=-40\r\n", nullptr, font,
         ("-40/" + Text(MulDiv(40, 72, ScreenPixelsPerInch())) + "/MS Sans Serif/0")},
        {"name and pitch", {"Memo01.Font"}, "[User]\r\nMemo01_FontName=Courier New\r\nMemo01_FontPitch=FPFIXED\r\n",
         nullptr, font, "-11/8/Courier New/2"},
    });
}

TEST_F(PropsStorageRestore, StringListsAndCollections)
{
    auto lines = [](ProbeWindow& w) {
        std::string all = Text(w.probe->LinesAssigned) + ":";
        for (const auto& line : Lines(*w.probe->Lines()))
            all += "[" + line + "]";
        return all;
    };
    auto parts = [](ProbeWindow& w) {
        std::string all;
        for (int i = 0; i < w.probe->Parts()->Count(); ++i) {
            auto* p = static_cast<TPart*>(w.probe->Parts()->Items(i));
            all += p->Label() + "=" + Text(p->Weight()) + ";";
        }
        return all;
    };
    auto oneLine = [](ProbeWindow& w) { w.probe->Lines()->Add("kept"); };
    auto twoParts = [](ProbeWindow& w) {
        for (const char* label : {"a", "b"})
            static_cast<TPart*>(w.probe->Parts()->Add())->SetLabel(label);
    };
    Run({
        {"lines", {"Probe.Lines"}, "[User.Probe_Lines]\r\nCount=3\r\nItem0=one\r\nItem2=\"\"three\"\"\r\n", nullptr,
         lines, "1:[one][][\"three\"]"},
        {"count 0 unchanged", {"Probe.Lines"}, "[User.Probe_Lines]\r\nCount=0\r\nItem0=x\r\n", oneLine, lines,
         "0:[kept]"},
        {"count text unchanged", {"Probe.Lines"}, "[User.Probe_Lines]\r\nCount=two\r\n", oneLine, lines, "0:[kept]"},
        {"huge count unchanged", {"Probe.Lines"}, "[User.Probe_Lines]\r\nCount=2000000000\r\n", oneLine, lines,
         "0:[kept]"},
        {"parts", {"Probe.Parts"},
         "[User]\r\nProbe_Parts.Count=2\r\n[User.Probe_Parts]\r\nItem0_Label=x\r\nItem0_Weight=3\r\nItem1_Label=y\r\n",
         nullptr, parts, "x=3;y=0;"},
        {"same count keeps items", {"Probe.Parts"},
         "[User]\r\nProbe_Parts.Count=2\r\n[User.Probe_Parts]\r\nItem1_Weight=9\r\n", twoParts, parts, "a=0;b=9;"},
        {"bad count keeps items", {"Probe.Parts"}, "[User]\r\nProbe_Parts.Count=many\r\n", twoParts, parts,
         "a=0;b=0;"},
        {"count 0 empties", {"Probe.Parts"}, "[User]\r\nProbe_Parts.Count=0\r\n", twoParts, parts, ""},
    });
}

TEST_F(PropsStorageRestore, AFailingPropertyDoesNotStopTheOthers)
{
    auto both = [](ProbeWindow& w) { return Text(w.probe->Strict()) + "/" + Text(w.probe->Count()); };
    Run({
        {"setter refuses", {"Probe.Strict", "Probe.Count"}, "[User]\r\nProbe_Strict=-5\r\nProbe_Count=9\r\n",
         [](ProbeWindow& w) { w.probe->SetStrict(4); }, both, "4/9"},
    });
}

TEST(PropsStorageRestoreAll, NoFileLeavesEveryPropertyAsItWas)
{
    TempDir dir;
    ProbeWindow w;
    w.probe->Lines()->Add("line");
    w.probe->Parts()->Add();
    w.Use(kAllKinds);
    // What a save would write is the full picture of the properties.
    TIniFile before(dir.File("before.ini"));
    Worker(before)->SaveListedProperties(w.form.get(), w.list);

    TIniFile missing(dir.File("missing.ini"));
    Worker(missing)->LoadListedProperties(w.form.get(), w.list);
    EXPECT_FALSE(testing_support::FileExists(dir.File("missing.ini")));

    TIniFile after(dir.File("after.ini"));
    Worker(after)->SaveListedProperties(w.form.get(), w.list);
    EXPECT_EQ(ReadIni(dir.File("after.ini")), ReadIni(dir.File("before.ini")));
    EXPECT_EQ(w.probe->LinesAssigned, 0);
}

TEST(PropsStorageRestoreAll, SaveThenRestoreBringsEveryValueBack)
{
    TempDir dir;
    TIniFile saved(dir.File("saved.ini"));
    {
        ProbeWindow changed;
        TProbe& p = *changed.probe;
        p.SetCount(123);
        p.SetBig(1LL << 40);
        p.SetLetter('k');
        p.SetShade(shLight);
        p.SetRatio(-2.25);
        p.SetScale(0.5f);
        p.SetTitle("\"in quotes\"");
        p.SetFlavours(1u << flBitter);
        p.SetDock(changed.dockBottom);
        p.Lines()->SetText("x\r\ny\r\n");
        static_cast<TPart*>(p.Parts()->Add())->SetLabel("part");
        changed.memo1->Font()->SetSize(14);
        changed.memo1->Font()->SetStyle(FontStyleBit(fsStrikeOut));
        changed.memo1->SetColor(0x123456);
        changed.page1->SetEnabled(true);
        changed.name1->SetText("Renamed");
        changed.Use(kAllKinds);
        Worker(saved)->SaveListedProperties(changed.form.get(), changed.list);
    }

    // A window with the layout values, restored and saved again, writes the
    // same file: every value came back.
    ProbeWindow fresh;
    fresh.Use(kAllKinds);
    Worker(saved)->LoadListedProperties(fresh.form.get(), fresh.list);
    TIniFile again(dir.File("again.ini"));
    Worker(again)->SaveListedProperties(fresh.form.get(), fresh.list);
    EXPECT_EQ(ReadIni(dir.File("again.ini")), ReadIni(dir.File("saved.ini")));
    EXPECT_EQ(fresh.probe->Title(), "\"in quotes\"");
    EXPECT_EQ(fresh.memo1->Font()->Size(), 14);
}

// ------------------------------------------------------------ fuzzing

namespace {

// Values that look a little like what belongs there and a lot like what
// does not: random bytes, cut-off legal values, extreme numbers, names in
// odd letter case. No line breaks, which would end the INI line.
std::string FuzzValue(std::mt19937& random, const std::string& legal)
{
    static const char* const pool[] = {"", " ", "[", "]", ",", "[,]", "$", "0x", "-", "(null)", "(NULL)", ".",
                                       "OtherForm.", ".Shelf", "9999999999999999999999", "-2147483648",
                                       "2147483648", "$FFFFFFFF", "1E400", "NAN", "INF", "-0", "True", "fsBold",
                                       "[fsBold,fsItalic,fsUnderline,fsStrikeOut,fsBold]", "DockBottom",
                                       "shDark", "flUmami", "99999", "3", "\"\"", "'"};
    switch (random() % 5) {
    case 0: return pool[random() % std::size(pool)];
    case 1: return legal.substr(0, random() % (legal.size() + 1));
    case 2: {
        std::string text;
        for (int n = static_cast<int>(random() % 24); n > 0; --n) {
            char c = static_cast<char>(32 + random() % 95);
            text += c;
        }
        return text;
    }
    case 3: {
        std::string text = legal;
        for (char& c : text)
            if (random() % 2)
                c = static_cast<char>(std::isupper(static_cast<unsigned char>(c)) ? std::tolower(c) : std::toupper(c));
        return text;
    }
    default: return std::to_string(static_cast<int64_t>(random()) * (random() % 2 ? 1 : -1) * (random() % 100000));
    }
}

} // namespace

TEST(PropsStorageFuzz, RandomValuesAlwaysLeaveLegalProperties)
{
    TempDir dir;
    // The keys and legal values a save writes are where the noise goes.
    std::vector<IniEntry> legal;
    {
        ProbeWindow w;
        w.probe->Lines()->Add("line");
        w.probe->Parts()->Add();
        w.Use(kAllKinds);
        TIniFile ini(dir.File("legal.ini"));
        Worker(ini)->SaveListedProperties(w.form.get(), w.list);
        legal = ReadIni(dir.File("legal.ini"));
    }
    ASSERT_GT(legal.size(), 25u);

    const unsigned seed = GetTickCount();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 60; ++round) {
        ProbeWindow w;
        w.Use(kAllKinds);
        const std::string path = dir.File("fuzz" + std::to_string(round) + ".ini");
        for (const auto& e : legal)
            if (random() % 8) // now and then a key is missing
                WritePrivateProfileStringA(e.section.c_str(), e.key.c_str(), FuzzValue(random, e.value).c_str(),
                                           path.c_str());
        TIniFile ini(path);
        ASSERT_NO_THROW(Worker(ini)->LoadListedProperties(w.form.get(), w.list)) << "round " << round;

        const TProbe& p = *w.probe;
        const TFont& f = *w.memo1->Font();
        EXPECT_TRUE(p.Shade() >= shNone && p.Shade() <= shDark) << "round " << round << ": " << p.Shade();
        EXPECT_EQ(p.Flavours() & ~0x1Fu, 0u) << "round " << round;
        EXPECT_EQ(f.Style() & ~0xFu, 0u) << "round " << round;
        EXPECT_TRUE(f.Pitch() >= fpDefault && f.Pitch() <= fpFixed) << "round " << round;
        EXPECT_TRUE(f.Charset() >= 0 && f.Charset() <= 255) << "round " << round;
        EXPECT_FALSE(f.Name().empty()) << "round " << round;
        EXPECT_TRUE(std::isfinite(p.Ratio()) && std::isfinite(p.Scale())) << "round " << round;
        // A reference is nothing or a panel of one of the two windows.
        for (TPanel* panel : {p.Dock(), p.Far()})
            EXPECT_TRUE(panel == nullptr || panel == w.dockTop || panel == w.dockBottom || panel == w.shelf)
                << "round " << round;
        EXPECT_LE(p.Lines()->Count(), TPropsStorage::MaxStoredCount) << "round " << round;
        EXPECT_LE(p.Parts()->Count(), TPropsStorage::MaxStoredCount) << "round " << round;
        for (const std::string& line : Lines(*p.Lines()))
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "round " << round;
    }
}
