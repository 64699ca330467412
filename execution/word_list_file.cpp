#include "execution/word_list_file.h"

#include "platform/com_owners.h"

#include <windows.h>
#include <msxml2.h>

#include <wrl/client.h>

namespace kv::execution {

namespace {

using Microsoft::WRL::ComPtr;

// The platform's XML parser (MSXML 3, present on every Windows and in Wine).
constexpr CLSID kDomDocument30 = {
    0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};

// The root element of the parsed file when it has the name given; null when the file is
// missing, not well-formed XML or another kind of file.
ComPtr<IXMLDOMElement> LoadXml(const std::wstring& path, std::wstring_view rootName) {
    ComPtr<IXMLDOMDocument> document;
    if (FAILED(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                                reinterpret_cast<void**>(document.GetAddressOf()))))
        return nullptr;
    document->put_async(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    document->put_resolveExternals(VARIANT_FALSE);
    Bstr location(path);
    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = location.Get(); // borrowed for the call
    VARIANT_BOOL loaded = VARIANT_FALSE;
    if (document->load(source, &loaded) != S_OK || loaded == VARIANT_FALSE)
        return nullptr;
    ComPtr<IXMLDOMElement> root;
    Bstr name;
    if (document->get_documentElement(&root) != S_OK || !root ||
        FAILED(root->get_nodeName(name.Out())) || name.View() != rootName)
        return nullptr;
    return root;
}

// The non-empty texts of the nodes that the query selects under the element, in order.
std::vector<std::wstring> SelectedTexts(IXMLDOMElement* element, const wchar_t* query) {
    Bstr path(query);
    ComPtr<IXMLDOMNodeList> nodes;
    std::vector<std::wstring> texts;
    if (element->selectNodes(path.Get(), &nodes) != S_OK || !nodes)
        return texts;
    ComPtr<IXMLDOMNode> node;
    while (nodes->nextNode(node.ReleaseAndGetAddressOf()) == S_OK && node) {
        Bstr text;
        if (SUCCEEDED(node->get_text(text.Out())) && !text.View().empty())
            texts.emplace_back(text.View());
    }
    return texts;
}

} // namespace

std::optional<WordList> ReadWordList(const std::wstring& path) {
    const ComPtr<IXMLDOMElement> root = LoadXml(path, L"wordlist");
    if (!root)
        return std::nullopt;
    WordList list;
    Bstr attribute(L"kind");
    Variant kind;
    if (root->getAttribute(attribute.Get(), kind.Get()) == S_OK && kind.Get()->vt == VT_BSTR &&
        kind.Get()->bstrVal && std::wstring_view(kind.Get()->bstrVal) == L"function")
        list.kind = TokenKind::Function;
    list.words = SelectedTexts(root.Get(), L"word");
    return list;
}

std::optional<std::vector<std::wstring>> ReadObjectSpecMembers(const std::wstring& path) {
    const ComPtr<IXMLDOMElement> root = LoadXml(path, L"objectspec");
    if (!root)
        return std::nullopt;
    return SelectedTexts(root.Get(), L"object/member");
}

} // namespace kv::execution
