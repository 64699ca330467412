// The essentials of a kernel model as sorted lines of text, read through the kernel's COM
// interfaces, so two models compare as texts and a failing comparison shows what differs:
// classes and their bases, attribute names in order, links, filters and their constraints,
// module texts, and every group's rights on classes and attributes.
#pragma once

#include "support/stand_in_model.h"

#include <zkernel.h>

#include <windows.h>

#include <string>

// Raises std::runtime_error naming what failed.
using kvtest::Check;

std::string DescribeModel(IZModel* model);
