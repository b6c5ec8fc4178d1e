#include "picture/PictureKinds.h"
#include "toolkit/StrUtils.h"
#include "toolkit/Streams.h"

#include <windows.h>
#include <vector>

namespace {
std::vector<TPictureKind>& Kinds()
{
    // Filled by the kinds' own start-up registration, whatever its order.
    static std::vector<TPictureKind> kinds;
    return kinds;
}
} // namespace

void RegisterPictureKind(const std::string& extension, const std::string& description, const TClassInfo& cls,
                         TGraphicFactory make)
{
    Kinds().push_back(TPictureKind{LowerCase(extension), description, &cls, make});
}

const TPictureKind* FindPictureKindByExtension(const std::string& extension)
{
    std::string wanted = extension;
    if (!wanted.empty() && wanted[0] == '.')
        wanted.erase(0, 1);
    for (const TPictureKind& kind : Kinds())
        if (SameText(kind.Extension, wanted))
            return &kind;
    return nullptr;
}

const TPictureKind* FindPictureKindByClassName(const std::string& className)
{
    for (const TPictureKind& kind : Kinds())
        if (SameText(kind.Class->Name(), className))
            return &kind;
    return nullptr;
}

std::unique_ptr<TGraphic> ReadStoredPicture(TStream& stream)
{
    unsigned char length = 0;
    stream.ReadBuffer(&length, 1);
    std::string className(length, '\0');
    stream.ReadBuffer(className.data(), length);
    const TPictureKind* kind = FindPictureKindByClassName(className);
    if (!kind)
        throw EInvalidOperation(FormatMessage1("Class %s not found", className));
    std::unique_ptr<TGraphic> picture = kind->Make();
    picture->ReadData(stream);
    return picture;
}

std::unique_ptr<TGraphic> LoadStoredPictureResource(const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name, MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    TMemoryStream stream(std::string(static_cast<const char*>(bytes), SizeofResource(module, info)));
    return ReadStoredPicture(stream);
}
