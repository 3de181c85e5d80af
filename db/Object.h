#pragma once
// Base of every object a Variant can hold (VB's Object).
#include <memory>

namespace db {

class Object {
public:
    virtual ~Object() = default;
};

using ObjectPtr = std::shared_ptr<Object>;

}  // namespace db
