// Sample structures built in the kernel stand-in ("zkernel.ZModel"), and korvalith.dll loaded as
// a host loads it, for calling the HTML exports.
#pragma once

#include "sample_structures.h"
#include "support/korvalith_library.h"
#include "support/wide_text.h"

#include <windows.h>

#include <wrl/client.h>
#include <zkernel.h>

#include <string>

namespace export_test {

// A new model of the stand-in holding the structure; null when the stand-in is not registered.
// Any failing kernel call while building fails the test.
Microsoft::WRL::ComPtr<IZModel> BuildModel(const StructureSpec& spec);

using kvtest::KorvalithLibrary;
using kvtest::Narrow;
using kvtest::WideFromUtf8;

} // namespace export_test
