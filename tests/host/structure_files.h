// Kernel models for tests that hand structure files to kvhost: made, loaded and stored through
// the kernel stand-in, with paths in the ANSI code page as kvhost takes them.
#pragma once

#include "support/wide_text.h"

#include <zkernel.h>

#include <windows.h>
#include <wrl/client.h>

#include <string>

using kvtest::Widen;

// An empty model of the registered kernel stand-in.
Microsoft::WRL::ComPtr<IZModel> NewModel();
Microsoft::WRL::ComPtr<IZModel> LoadModel(const std::string& path);
void SaveModel(IZModel* model, const std::string& path);
