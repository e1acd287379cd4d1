#pragma once
// The root of objects that can copy themselves from one another. Assign(source) first lets the
// target try (an override of Assign), then asks the source to copy itself into the target
// (AssignTo); when neither knows the pair, EConvertError "Cannot assign a %s to a %s" names the
// source's class (or "nil") and the target's.

#include <string>

#include "toolkit/TObject.h"

namespace toolkit {

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    virtual void Assign(const TPersistent* source);

protected:
    // Copies this object into dest; the default raises the conversion error.
    virtual void AssignTo(TPersistent& dest) const;
};

} // namespace toolkit
