#pragma once
// Access to one INI file through the platform's private profile functions.
// The object keeps the file name and no contents: every read and write is a
// single profile call, so parsing, caching and creating the file are the
// platform's. The one exception is a read of a key that the platform has
// just said its section lacks (see TIniFile::TakeKeyNames).
#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/LocaleText.h"
#include "toolkit/StrUtils.h"

class TStrings;

class TCustomIniFile {
public:
    // The name is kept exactly as given; it is not completed or checked, and
    // a bare name goes to the profile layer as it is.
    explicit TCustomIniFile(std::string fileName);
    virtual ~TCustomIniFile();
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const std::string& FileName() const { return FFileName; }

    virtual std::string ReadText(const std::string& section, const std::string& key,
                                 const std::string& defaultText) const = 0;
    virtual void WriteText(const std::string& section, const std::string& key, const std::string& text) = 0;

    // Integer text as TryStrToInt reads it, with a leading "0x" also taken
    // as hexadecimal; anything that does not convert gives the default.
    virtual int32_t ReadNumber(const std::string& section, const std::string& key, int32_t defaultValue) const;
    virtual void WriteNumber(const std::string& section, const std::string& key, int32_t value);
    // Any number but 0 is true; "1" and "0" are written.
    virtual bool ReadFlag(const std::string& section, const std::string& key, bool defaultValue) const;
    virtual void WriteFlag(const std::string& section, const std::string& key, bool value);

    // Locale-formatted values; an empty or unreadable text gives the default.
    virtual TDateTime ReadDateValue(const std::string& section, const std::string& key, TDateTime defaultValue) const;
    virtual TDateTime ReadDateTimeValue(const std::string& section, const std::string& key,
                                        TDateTime defaultValue) const;
    virtual double ReadFloatValue(const std::string& section, const std::string& key, double defaultValue) const;
    virtual TDateTime ReadTimeValue(const std::string& section, const std::string& key, TDateTime defaultValue) const;
    virtual void WriteDateValue(const std::string& section, const std::string& key, TDateTime value);
    virtual void WriteDateTimeValue(const std::string& section, const std::string& key, TDateTime value);
    virtual void WriteFloatValue(const std::string& section, const std::string& key, double value);
    virtual void WriteTimeValue(const std::string& section, const std::string& key, TDateTime value);

    // The key names of a section, or the section names, replacing the list.
    virtual void ListKeys(const std::string& section, TStrings& list) const = 0;
    virtual void ListSections(TStrings& list) const = 0;
    // Sets key=value entries of the list for the section's keys, leaving
    // the list's other entries alone.
    virtual void ListPairs(const std::string& section, TStrings& list) const = 0;
    virtual void ClearSection(const std::string& section) = 0;
    virtual void RemoveKey(const std::string& section, const std::string& key) = 0;
    // Asks the platform to write out whatever it holds cached.
    virtual void FlushFile() = 0;

private:
    std::string FFileName;
};

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;

    // Longer values are read back cut to this many characters less one.
    static constexpr int ReadBufferSize = 2048;
    // Room for all key or section names of a list, each zero-terminated.
    static constexpr int ListBufferSize = 16384;

    std::string ReadText(const std::string& section, const std::string& key,
                         const std::string& defaultText) const override;

    // For one restore pass: asks the platform once for the key names of the
    // section. Until the object is freed or written through, a read of a key
    // that is not among them answers what the platform answers for a missing
    // key (the default, cut like a value) without asking it again. Under Wine
    // every profile call costs a registry look-up and, when the file exists,
    // an open of it, so a first start's restore of some hundred keys from no
    // file at all comes down to this one call.
    // When the names cannot be taken exactly (a list cut short by the buffer,
    // or names that are not plain ASCII, which the platform may match by
    // rules of its own) every read still asks the platform, as does one whose
    // default begins with a quote, ends in a blank or is not plain ASCII.
    void TakeKeyNames(const std::string& section);

    // Raises EFileError "Unable to write to <file name>" when the platform
    // reports failure.
    void WriteText(const std::string& section, const std::string& key, const std::string& text) override;
    void ListKeys(const std::string& section, TStrings& list) const override;
    void ListSections(TStrings& list) const override;
    void ListPairs(const std::string& section, TStrings& list) const override;
    // Raises like WriteText.
    void ClearSection(const std::string& section) override;
    // RemoveKey and FlushFile ignore failure: a key that cannot be removed
    // or a cache that cannot be written is no reason to stop.
    void RemoveKey(const std::string& section, const std::string& key) override;
    void FlushFile() override;

private:
    // The names in order, and whether the platform cut the list short.
    bool ListNames(const char* section, TStrings& list) const;
    bool AnswersWithoutAsking(const std::string& section, const std::string& key,
                              const std::string& defaultText) const;
    void ForgetKeyNames();
    [[noreturn]] void RaiseWriteError() const;

    // Set by TakeKeyNames: the section and its key names in lower case, sorted.
    bool FKeyNamesTaken = false;
    std::string FKeyNamesSection;
    std::vector<std::string> FKeyNames;
};

// What the form storage reads and writes through. Only a TIniFile is a
// store: any other object (or none) reads as the default and writes nothing.
std::string StoreReadText(const TCustomIniFile* store, const std::string& section, const std::string& key,
                          const std::string& defaultText);
// The profile layer drops one pair of enclosing quotes on reading, so a text
// that itself begins and ends with the same quote is written inside one
// more pair of double quotes to read back unchanged.
void StoreWriteText(TCustomIniFile* store, const std::string& section, const std::string& key,
                    const std::string& text);
int32_t StoreReadNumber(const TCustomIniFile* store, const std::string& section, const std::string& key,
                        int32_t defaultValue);
void StoreWriteNumber(TCustomIniFile* store, const std::string& section, const std::string& key, int32_t value);
