#include "server_import.h"

#include "kvhost_support.h"

#include <korvalith.h>

namespace kvhost {
namespace {

using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
constexpr WORD kDllGetClassObject = 20;

} // namespace

std::string ImportIntoServer(const std::string& distribution, const std::string& user, bool mark) {
    Library library;
    auto get_class_object = library.Export<GetClassObject>(kDllGetClassObject);
    ComPtr<IClassFactory> factory;
    Check(get_class_object(CLSID_ZScriptHelper, IID_IClassFactory,
                           reinterpret_cast<void**>(factory.GetAddressOf())),
          "finding the script helper's class factory");
    ComPtr<IZScriptHelper> helper;
    Check(factory->CreateInstance(nullptr, IID_IZScriptHelper,
                                  reinterpret_cast<void**>(helper.GetAddressOf())),
          "creating the script helper");
    OutText report;
    Check(helper->zsImportAppendedToSvr(Text(Widen(distribution)), Text(Widen(user)),
                                        mark ? VARIANT_TRUE : VARIANT_FALSE, report.put()),
          "the import");
    return report.ansi();
}

} // namespace kvhost
