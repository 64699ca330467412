// Reference counts of COM objects, for the tests where lifetimes matter.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <gtest/gtest.h>

namespace kvtest {

// The object's reference count, as AddRef and Release report it, without changing it.
inline ULONG RefCount(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

} // namespace kvtest

#define EXPECT_REF(object, count)                                                                  \
    EXPECT_EQ(::kvtest::RefCount(object), static_cast<ULONG>(count))
