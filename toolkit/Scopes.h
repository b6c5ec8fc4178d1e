#pragma once
// Guards that hold a lock or a flag for as long as they live, so that it is
// dropped again on every way out, an error included.

// Raises a counter (a layout or notification lock) while it lives.
class CountScope {
public:
    explicit CountScope(int& count) : FCount(count) { ++FCount; }
    CountScope(const CountScope&) = delete;
    CountScope& operator=(const CountScope&) = delete;
    ~CountScope() { --FCount; }

private:
    int& FCount;
};

// Sets a flag while it lives and puts its old value back.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;
    ~FlagScope() { FFlag = FOld; }

private:
    bool& FFlag;
    bool FOld;
};
