#include "platform/registrytree.h"

#include "platform/codepage.h"

#include <algorithm>
#include <utility>

namespace platform {

namespace {

unsigned char FoldToUpper(unsigned char byte)
{
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool IsControlCharacter(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

}  // namespace

int CompareKeyNames(std::string_view a, std::string_view b)
{
    const CodePage& page = CodePage::System();
    bool trail = false;  // the texts are equal so far, so a trail byte stands at the same place in both
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[i]);
        const unsigned char foldedA = trail ? byteA : FoldToUpper(byteA);
        const unsigned char foldedB = trail ? byteB : FoldToUpper(byteB);
        if (foldedA != foldedB) return foldedA < foldedB ? -1 : 1;
        trail = !trail && page.IsLeadByte(byteA);
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool IsValidKeyName(std::string_view name)
{
    if (name.empty() || name.size() > kMaxKeyNameLength) return false;
    const CodePage& page = CodePage::System();
    for (std::size_t i = 0; i < name.size(); i += page.CharacterSize(name, i)) {
        if (name[i] == '\\' || IsControlCharacter(name[i])) return false;
    }
    return true;
}

std::vector<std::string_view> SplitKeyPath(std::string_view path)
{
    const CodePage& page = CodePage::System();
    std::vector<std::string_view> names;
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); i += page.CharacterSize(path, i)) {
        if (path[i] != '\\') continue;
        names.push_back(path.substr(start, i - start));
        start = i + 1;
    }
    names.push_back(path.substr(start));
    return names;
}

bool IsValidValueName(std::string_view name)
{
    return name.size() <= kMaxValueNameLength && std::none_of(name.begin(), name.end(), IsControlCharacter);
}

std::vector<std::unique_ptr<RegistryNode>>::const_iterator RegistryNode::LowerBound(std::string_view name) const
{
    return std::lower_bound(subkeys_.begin(), subkeys_.end(), name,
                            [](const std::unique_ptr<RegistryNode>& key, std::string_view wanted) {
                                return CompareKeyNames(key->name(), wanted) < 0;
                            });
}

const RegistryNode* RegistryNode::FindSubkey(std::string_view name) const
{
    const auto at = LowerBound(name);
    if (at == subkeys_.end() || CompareKeyNames((*at)->name(), name) != 0) return nullptr;
    return at->get();
}

RegistryNode* RegistryNode::FindSubkey(std::string_view name)
{
    return const_cast<RegistryNode*>(std::as_const(*this).FindSubkey(name));
}

RegistryNode& RegistryNode::AddSubkey(std::string_view name)
{
    const auto at = LowerBound(name);
    if (at != subkeys_.end() && CompareKeyNames((*at)->name(), name) == 0) return **at;
    return **subkeys_.insert(at, std::make_unique<RegistryNode>(std::string(name)));
}

bool RegistryNode::RemoveSubkey(std::string_view name)
{
    const auto at = LowerBound(name);
    if (at == subkeys_.end() || CompareKeyNames((*at)->name(), name) != 0) return false;
    subkeys_.erase(at);
    return true;
}

const RegistryValue* RegistryNode::FindValue(std::string_view name) const
{
    const auto at = std::find_if(values_.begin(), values_.end(),
                                 [name](const RegistryValue& value) { return CompareKeyNames(value.name, name) == 0; });
    return at == values_.end() ? nullptr : &*at;
}

void RegistryNode::SetValue(std::string_view name, uint32_t type, std::string data)
{
    if (RegistryValue* value = const_cast<RegistryValue*>(FindValue(name))) {
        value->type = type;
        value->data = std::move(data);
        return;
    }
    values_.push_back({std::string(name), type, std::move(data)});
}

bool RegistryNode::operator==(const RegistryNode& other) const
{
    return name_ == other.name_ && values_ == other.values_ &&
           std::equal(subkeys_.begin(), subkeys_.end(), other.subkeys_.begin(), other.subkeys_.end(),
                      [](const auto& a, const auto& b) { return *a == *b; });
}

}  // namespace platform
