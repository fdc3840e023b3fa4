#pragma once

// Root of the model and product-record classes.

namespace kelvra {

// Carries no data. Every model, snapshot and product record derives from it, so that an owner
// can hold and free any of them through a base pointer.
class TKobject {
  public:
    TKobject() = default;
    TKobject(const TKobject&) = default;
    TKobject& operator=(const TKobject&) = default;
    TKobject(TKobject&&) = default;
    TKobject& operator=(TKobject&&) = default;
    virtual ~TKobject() = default;
};

}  // namespace kelvra
