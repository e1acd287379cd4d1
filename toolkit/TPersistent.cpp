#include "toolkit/TPersistent.h"

#include "toolkit/Exceptions.h"

namespace toolkit {

void TPersistent::Assign(const TPersistent* source) {
    if (source == nullptr)
        throw CannotAssignError("nil", ClassName());
    source->AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& dest) const {
    throw CannotAssignError(ClassName(), dest.ClassName());
}

} // namespace toolkit
