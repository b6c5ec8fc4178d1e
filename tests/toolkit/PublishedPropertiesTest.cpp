// Published properties as code that knows nothing of a class sees them (the
// settings store): found by name ignoring case, listed ancestors' first with
// the names as declared, each with its kind, and read and written only
// through its descriptor.
#include "toolkit/Controls.h"
#include "toolkit/Exceptions.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"
#include "toolkit/Menus.h"
#include "toolkit/StdCtrls.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& names)
{
    std::string s;
    for (const std::string& n : names)
        s += (s.empty() ? "" : " ") + n;
    return s;
}

std::string PropertyNames(const TClassInfo& cls)
{
    std::vector<std::string> names;
    for (const TPropInfo* p : cls.Properties())
        names.push_back(p->Name);
    return Joined(names);
}

const TPropInfo& Prop(const TObject& obj, const std::string& name)
{
    const TPropInfo* p = obj.ClassType().FindProperty(name);
    if (!p)
        throw std::runtime_error("no property " + name + " in " + obj.ClassName());
    return *p;
}

// A control that publishes a reference to a popup menu (a component it does
// not own) and redeclares an ancestor's property under another spelling.
class TLinkedControl : public TControl {
public:
    QV_CLASS(TLinkedControl, TControl)
    using TControl::TControl;

    TPopupMenu* Menu() const { return FMenu; }
    void SetMenu(TPopupMenu* value) { FMenu = value; }
    int Shade() const { return static_cast<int>(Color()); }
    void SetShade(int value) { SetColor(static_cast<TColor>(value)); }

private:
    TPopupMenu* FMenu = nullptr;
};

const TClassInfo& TLinkedControl::StaticClass()
{
    return MakeClassInfo<TLinkedControl>("TLinkedControl", &TControl::StaticClass(),
                                         [](TClassBuilder<TLinkedControl>& b) {
                                             b.Object<TPopupMenu>("Menu", &TLinkedControl::Menu, &TLinkedControl::SetMenu)
                                                 .Ordinal("COLOR", TypeColor(), &TLinkedControl::Shade,
                                                          &TLinkedControl::SetShade);
                                         });
}

TEST(PublishedProperties, ListedAncestorsFirstWithTheirDeclaredNames)
{
    const std::string kControl =
        "Name Align Color Enabled Font Height Hint Left ParentFont ParentShowHint ShowHint Top Visible Width";
    struct {
        const TClassInfo& Class;
        std::string Expected;
    } const cases[] = {
        {TComponent::StaticClass(), "Name"},
        {TControl::StaticClass(), kControl},
        {TWinControl::StaticClass(), kControl + std::string(" TabOrder TabStop")},
        {TMemo::StaticClass(), kControl + std::string(" TabOrder TabStop Text WordWrap")},
        {TEdit::StaticClass(), kControl + std::string(" TabOrder TabStop Text")},
        {TFont::StaticClass(), "Charset Color Height Name Pitch Size Style"},
        {TIntegerHolder::StaticClass(), kControl + std::string(" Value")},
        {TMenuItem::StaticClass(), "Name Caption Checked Enabled"},
        // A redeclared property keeps its ancestor's place, with the new spelling.
        {TLinkedControl::StaticClass(),
         "Name Align COLOR Enabled Font Height Hint Left ParentFont ParentShowHint ShowHint Top Visible Width Menu"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Class.Name());
        EXPECT_EQ(c.Expected, PropertyNames(c.Class));
    }
}

TEST(PublishedProperties, FoundByNameIgnoringCaseWithTheDeclaredName)
{
    struct {
        const TClassInfo& Class;
        const char* Asked;
        const char* Found; // nullptr: no such property
    } const cases[] = {
        {TEdit::StaticClass(), "text", "Text"},
        {TEdit::StaticClass(), "TEXT", "Text"},
        {TMemo::StaticClass(), "fOnT", "Font"},
        {TMemo::StaticClass(), "visible", "Visible"},
        {TMemo::StaticClass(), "name", "Name"},
        {TFont::StaticClass(), "STYLE", "Style"},
        {TIntegerHolder::StaticClass(), "value", "Value"},
        {TLinkedControl::StaticClass(), "color", "COLOR"},
        {TEdit::StaticClass(), "Texts", nullptr},
        {TEdit::StaticClass(), "", nullptr},
        {TControl::StaticClass(), "TabOrder", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Class.Name() + "." + c.Asked);
        const TPropInfo* p = c.Class.FindProperty(c.Asked);
        EXPECT_EQ(c.Found ? c.Found : "(none)", p ? p->Name : "(none)");
    }
    // The redeclared one is found, not the ancestor's.
    EXPECT_EQ(TLinkedControl::StaticClass().Properties()[2],
              TLinkedControl::StaticClass().FindProperty("Color"));
}

TEST(PublishedProperties, KindsAndValueNames)
{
    struct {
        const TClassInfo& Class;
        const char* Property;
        TTypeKind Kind;
        const char* TypeName;
        const char* ValueNames; // enumerations: their values; sets: their elements
    } const cases[] = {
        {TFont::StaticClass(), "Charset", TTypeKind::Integer, "TFontCharset", ""},
        {TFont::StaticClass(), "Color", TTypeKind::Integer, "TColor", ""},
        {TFont::StaticClass(), "Height", TTypeKind::Integer, "Integer", ""},
        {TFont::StaticClass(), "Name", TTypeKind::String, "string", ""},
        {TFont::StaticClass(), "Pitch", TTypeKind::Enumeration, "TFontPitch", "fpDefault fpVariable fpFixed"},
        {TFont::StaticClass(), "Size", TTypeKind::Integer, "Integer", ""},
        {TFont::StaticClass(), "Style", TTypeKind::Set, "TFontStyles", "fsBold fsItalic fsUnderline fsStrikeOut"},
        {TControl::StaticClass(), "Align", TTypeKind::Enumeration, "TAlign",
         "alNone alTop alBottom alLeft alRight alClient"},
        {TControl::StaticClass(), "Color", TTypeKind::Integer, "TColor", ""},
        {TControl::StaticClass(), "Enabled", TTypeKind::Enumeration, "Boolean", "False True"},
        {TControl::StaticClass(), "Visible", TTypeKind::Enumeration, "Boolean", "False True"},
        {TControl::StaticClass(), "ParentFont", TTypeKind::Enumeration, "Boolean", "False True"},
        {TControl::StaticClass(), "Font", TTypeKind::Class, "TFont", ""},
        {TControl::StaticClass(), "Left", TTypeKind::Integer, "Integer", ""},
        {TEdit::StaticClass(), "Text", TTypeKind::String, "TCaption", ""},
        {TPanel::StaticClass(), "BevelOuter", TTypeKind::Enumeration, "TPanelBevel",
         "bvNone bvLowered bvRaised bvSpace"},
        {TLinkedControl::StaticClass(), "Menu", TTypeKind::Class, "TPopupMenu", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Class.Name() + "." + c.Property);
        const TPropInfo* p = c.Class.FindProperty(c.Property);
        ASSERT_NE(nullptr, p);
        EXPECT_EQ(static_cast<int>(c.Kind), static_cast<int>(p->Kind()));
        EXPECT_EQ(c.TypeName, p->PropType->Name);
        const TTypeInfo* names = p->Kind() == TTypeKind::Set ? p->PropType->CompType : p->PropType;
        ASSERT_NE(nullptr, names);
        EXPECT_EQ(c.ValueNames, Joined(names->Names));
        if (p->Kind() == TTypeKind::Class) {
            EXPECT_EQ(c.TypeName, p->PropType->ClassType->Name());
        }
    }
}

TEST(PublishedProperties, EnumerationValuesAreFoundIgnoringCase)
{
    const TTypeInfo& align = *TControl::StaticClass().FindProperty("Align")->PropType;
    struct {
        const char* Name;
        int Ordinal;
    } const cases[] = {{"alNone", 0}, {"ALCLIENT", 5}, {"alright", 4}, {"alMiddle", -1}, {"", -1}, {"True", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Ordinal, align.ValueOf(c.Name));
    }
    EXPECT_EQ(1, TypeBoolean().ValueOf("true"));
    EXPECT_EQ(0, align.MinValue());
    EXPECT_EQ(5, align.MaxValue());
}

class PropertyAccess : public ::testing::Test {
protected:
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>(nullptr);
    TEdit* Edit = new TEdit(Owner.get());
};

TEST_F(PropertyAccess, OrdinalsGoThroughTheSettersAndBack)
{
    struct {
        const char* Property;
        int64_t Value;
    } const cases[] = {
        {"Left", 17}, {"Top", -4}, {"Width", 120}, {"Height", 23},
        {"Color", 0x00336699}, {"Color", static_cast<int32_t>(0x80000005u)},
        {"Enabled", 0}, {"Visible", 0}, {"Align", 5}, {"TabStop", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Property);
        const TPropInfo& p = Prop(*Edit, c.Property);
        SetOrdProp(Edit, p, c.Value);
        EXPECT_EQ(c.Value, GetOrdProp(Edit, p));
    }
    // ... and the object itself holds what was written.
    EXPECT_EQ(17, Edit->Left());
    EXPECT_EQ(static_cast<TColor>(0x80000005u), Edit->Color());
    EXPECT_FALSE(Edit->Enabled());
    EXPECT_EQ(alClient, Edit->Align());
}

TEST_F(PropertyAccess, StringsGoThroughTheSetterWithItsEvents)
{
    int changes = 0;
    Edit->OnChange = TNotifyEvent::FromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
    const TPropInfo& text = Prop(*Edit, "TEXT");
    SetStrProp(Edit, text, "restored name");
    EXPECT_EQ("restored name", Edit->GetText());
    EXPECT_EQ("restored name", GetStrProp(Edit, text));
    EXPECT_EQ(1, changes);
}

TEST_F(PropertyAccess, FontPropertyCopiesTheGivenFont)
{
    TFont given;
    given.SetName("Courier New");
    given.SetHeight(-20);
    given.SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    const TPropInfo& font = Prop(*Edit, "Font");
    SetObjectProp(Edit, font, &given);

    auto* held = static_cast<TFont*>(GetObjectProp(Edit, font));
    EXPECT_EQ(Edit->Font(), held);
    EXPECT_NE(&given, held); // a copy: the caller keeps its own
    EXPECT_TRUE(held->Equals(given));
    EXPECT_FALSE(Edit->ParentFont());

    // The font's own properties, through their descriptors.
    SetOrdProp(held, Prop(*held, "size"), 12);
    EXPECT_EQ(-MulDiv(12, ScreenPixelsPerInch(), 72), held->Height());
    EXPECT_EQ(12, GetOrdProp(held, Prop(*held, "Size")));
    SetOrdProp(held, Prop(*held, "Style"), FontStyleBit(fsStrikeOut));
    EXPECT_EQ(FontStyleBit(fsStrikeOut), held->Style());
    SetStrProp(held, Prop(*held, "Name"), "Arial");
    EXPECT_EQ("Arial", held->Name());
}

TEST_F(PropertyAccess, ObjectPropertiesRejectObjectsOfTheWrongClass)
{
    auto* link = new TLinkedControl(Owner.get());
    auto* menu = new TPopupMenu(Owner.get());
    auto* item = new TMenuItem(Owner.get());
    const TPropInfo& menuProp = Prop(*link, "Menu");

    SetObjectProp(link, menuProp, menu);
    EXPECT_EQ(menu, link->Menu());
    EXPECT_EQ(menu, GetObjectProp(link, menuProp));

    // A component, but not a menu: refused, and the reference is kept.
    EXPECT_THROW(SetObjectProp(link, menuProp, item), EPropertyError);
    EXPECT_EQ(menu, link->Menu());
    // Not even a component.
    TFont font;
    EXPECT_THROW(SetObjectProp(link, menuProp, &font), EPropertyError);
    EXPECT_EQ(menu, link->Menu());
    // Nothing clears it.
    SetObjectProp(link, menuProp, nullptr);
    EXPECT_EQ(nullptr, link->Menu());

    // The font property takes only fonts.
    TFont before;
    before.Assign(Edit->Font());
    EXPECT_THROW(SetObjectProp(Edit, Prop(*Edit, "Font"), menu), EPropertyError);
    EXPECT_TRUE(Edit->Font()->Equals(before));
}

TEST(PublishedProperties, IntegerHolderKeepsAnyInt)
{
    TComponent owner(nullptr);
    auto* holder = new TIntegerHolder(&owner);
    const TPropInfo& value = Prop(*holder, "Value");
    EXPECT_FALSE(holder->Visible());
    for (int v : {0, 1, -1, 441, -441, 65536, -65537, INT_MAX, INT_MIN, INT_MAX - 1, INT_MIN + 1}) {
        SCOPED_TRACE(v);
        holder->SetValue(v);
        EXPECT_EQ(v, holder->Value());
        EXPECT_EQ(v, GetOrdProp(holder, value));
        SetOrdProp(holder, value, 7);
        SetOrdProp(holder, value, v);
        EXPECT_EQ(v, holder->Value());
    }
}

} // namespace
