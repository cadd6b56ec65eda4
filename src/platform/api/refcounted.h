// Reference counting in the manner of COM: an object starts with one reference and frees itself
// at its last Release.
#pragma once

#include "platform/api/wintypes.h"

namespace platform {

template <typename Object>
class RefCounted {
  public:
    ULONG AddRef() { return ++references_; }
    ULONG Release() {
        const ULONG left = --references_;
        if (left == 0) {
            delete static_cast<Object*>(this);
        }
        return left;
    }

  protected:
    RefCounted() = default;
    ~RefCounted() = default;

  private:
    ULONG references_ = 1;
};

// Releases the object if there is one, and forgets it.
template <typename Object>
void ReleaseInterface(Object*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

}  // namespace platform
