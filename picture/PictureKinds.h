#pragma once
// The picture kinds the program knows: each registers itself under its file
// extensions with a description, and a stored picture names its kind by
// class, which is how a window layout's picture finds the code to read it.
#include "toolkit/ExtCtrls.h"

#include <memory>
#include <string>

class TStream;

using TGraphicFactory = std::unique_ptr<TGraphic> (*)();

struct TPictureKind {
    std::string Extension;   // without the dot, lower case: "jpg"
    std::string Description; // "JPEG Image File"
    const TClassInfo* Class;
    TGraphicFactory Make;
};

void RegisterPictureKind(const std::string& extension, const std::string& description, const TClassInfo& cls,
                         TGraphicFactory make);
// Both ignore letter case; nullptr when no kind matches.
const TPictureKind* FindPictureKindByExtension(const std::string& extension);
const TPictureKind* FindPictureKindByClassName(const std::string& className);

// Names a picture kind that the program's layout holds. A kind registers
// itself when its code is part of the program, and a static library brings
// in only code that is used: naming the kind here is that use.
template <class Kind>
void UsesPictureKind()
{
    Kind::StaticClass();
}

// A picture property as a layout stores it: the kind's class name as a
// one-byte length and its letters, then the kind's own stored form. Raises
// EReadError when the bytes end early and EInvalidOperation
// ("Class %s not found") for a kind that isn't registered.
std::unique_ptr<TGraphic> ReadStoredPicture(TStream& stream);
// The same from a resource of the executable (type RCDATA); nullptr when
// the executable has no such resource.
std::unique_ptr<TGraphic> LoadStoredPictureResource(const char* name);
