// Sets a flag for a scope and gives it back its earlier value on every way out, exceptions
// included: a nested scope (a message dispatched while the outer one runs) must not clear
// what the outer one set.
#pragma once

namespace kestrin {

class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace kestrin
