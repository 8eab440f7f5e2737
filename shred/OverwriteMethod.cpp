#include "shred/OverwriteMethod.h"

const OverwriteMethod* MethodByLabel(std::wstring_view label) {
    for (const OverwriteMethod& method : kOverwriteMethods) {
        if (label == method.label)
            return &method;
    }
    return nullptr;
}

const OverwriteMethod* MethodByCode(int code) {
    for (const OverwriteMethod& method : kOverwriteMethods) {
        if (method.code == code)
            return &method;
    }
    return nullptr;
}
