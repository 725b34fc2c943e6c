#include "registry/cls_registry_access.h"

#include <limits>

#include "registry/bin_text.h"
#include "util/text.h"

namespace cd::registry {

namespace {

// The classic API returns the handle of the key it used; the key's id plays
// that part here: positive and meaningful only as "not zero".
std::int32_t handleOf(std::int64_t keyId) {
    if (keyId <= 0) return 0;
    return keyId > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : static_cast<std::int32_t>(keyId);
}

// The fixed read buffer of ReadString: 254 characters and the null fit.
constexpr std::size_t kStringBuffer = 255;

std::string textBeforeNull(std::string_view data) { return std::string(data.substr(0, data.find('\0'))); }

std::string withoutLeadingSpaces(std::string_view s) {
    const std::size_t first = s.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::optional<std::int32_t> asNumber(std::string_view data) {
    if (data.size() > 4) return std::nullopt;
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < data.size(); ++i)
        n |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return static_cast<std::int32_t>(n);
}

}  // namespace

ClsRegistryAccess::ClsRegistryAccess(RegistryStore& store, platform::EventPump* pump) : store_(store), pump_(pump) {}

std::int32_t ClsRegistryAccess::CreateKey(const std::string& sPath) {
    const auto p = SplitRegistryPath(sPath);
    return handleOf(store_.createKey(p.root, p.subkey));
}

std::int32_t ClsRegistryAccess::KillKey(const std::string& sPath) {
    const auto p = SplitRegistryPath(sPath);
    return handleOf(store_.deleteKey(p.root, p.subkey));
}

bool ClsRegistryAccess::KeyExists(const std::string& sPath) {
    const auto p = SplitRegistryPath(sPath);
    return store_.findKey(p.root, p.subkey) != 0;
}

std::int32_t ClsRegistryAccess::EnumKeys(const std::string& sPath, std::vector<std::string>& keys) {
    keys.clear();
    const auto p = SplitRegistryPath(sPath);
    auto names = store_.subkeyNames(p.root, p.subkey);
    if (!names) return -1;
    keys = std::move(*names);
    return static_cast<std::int32_t>(keys.size());
}

bool ClsRegistryAccess::HaveSubkey(const std::string& sPath) {
    const auto p = SplitRegistryPath(sPath);
    const auto names = store_.subkeyNames(p.root, p.subkey);
    return names && !names->empty();
}

std::int32_t ClsRegistryAccess::writeValue(const std::string& sPath, RegistryValue value) {
    const auto p = SplitRegistryPath(sPath);
    return handleOf(store_.setValue(p.root, p.subkey, value, createKeyIfDoesntExists_));
}

std::int32_t ClsRegistryAccess::WriteString(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    std::string data = sValue;
    data.push_back('\0');
    return writeValue(sPath, {sName == "@" ? std::string() : sName, kRegString, std::move(data)});
}

std::optional<std::string> ClsRegistryAccess::readText(const std::string& sPath, const std::string& sName,
                                                       bool limited) {
    const auto v = QueryValue(sPath, sName);
    if (!v || (limited && v->data.size() > kStringBuffer)) return std::nullopt;
    return withoutLeadingSpaces(textBeforeNull(v->data));
}

std::string ClsRegistryAccess::ReadString(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    return readText(sPath, sName, true).value_or(sDefault);
}

std::int32_t ClsRegistryAccess::WriteDWORD(const std::string& sPath, const std::string& sName, std::int32_t lValue) {
    const auto n = static_cast<std::uint32_t>(lValue);
    std::string data;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    return writeValue(sPath, {sName, kRegDword, std::move(data)});
}

std::int32_t ClsRegistryAccess::ReadDWORD(const std::string& sPath, const std::string& sName, std::int32_t lDefault) {
    const auto v = QueryValue(sPath, sName);
    if (!v) return lDefault;
    return asNumber(v->data).value_or(lDefault);
}

std::int32_t ClsRegistryAccess::WriteBinary(const std::string& sPath, const std::string& sName,
                                            const std::string& sValue) {
    // Text without a single character stores an empty value; any other text
    // must be hexadecimal, or the bytes stored would be made up.
    if (!util::trimSpaces(sValue).empty() && !isBinValid(sValue)) return 0;
    return writeValue(sPath, {sName, kRegBinary, StrToBin(std::string_view(sValue))});
}

std::string ClsRegistryAccess::ReadBinary(const std::string& sPath, const std::string& sName,
                                          const std::string& sDefault) {
    const auto v = QueryValue(sPath, sName);
    if (!v) return sDefault;
    return std::string(util::trimSpaces(BinToStr(v->data)));
}

std::int32_t ClsRegistryAccess::KillValue(const std::string& sPath, const std::string& sName) {
    const auto p = SplitRegistryPath(sPath);
    return handleOf(store_.deleteValue(p.root, p.subkey, sName));
}

bool ClsRegistryAccess::ValueExists(const std::string& sPath, const std::string& sName) {
    return QueryValue(sPath, sName).has_value();
}

std::int32_t ClsRegistryAccess::EnumValues(const std::string& sPath, std::vector<std::string>& sName,
                                           std::vector<RegistryVariant>& sValue, std::int32_t OnlyType) {
    sName.clear();
    sValue.clear();
    const auto p = SplitRegistryPath(sPath);
    const auto values = store_.values(p.root, p.subkey);
    if (!values) return -1;
    for (const auto& v : *values) {
        if (OnlyType != -1 && static_cast<std::uint32_t>(OnlyType) != v.type) continue;
        sName.emplace_back(util::trimSpaces(v.name));
        switch (v.type) {
            case kRegBinary:
                sValue.emplace_back(std::string(util::trimSpaces(BinToStr(v.data))));
                break;
            case kRegDword:
                sValue.emplace_back(asNumber(v.data).value_or(0));
                break;
            case kRegString:
                // As ReadString, but whole at any length.
                sValue.emplace_back(withoutLeadingSpaces(textBeforeNull(v.data)));
                break;
            default:
                sValue.emplace_back(std::monostate{});
        }
    }
    return static_cast<std::int32_t>(sName.size());
}

std::optional<RegistryValue> ClsRegistryAccess::QueryValue(const std::string& sPath, const std::string& sName) {
    const auto p = SplitRegistryPath(sPath);
    return store_.value(p.root, p.subkey, sName);
}

std::string ClsRegistryAccess::StrToBin(std::string& sBin) { return registry::StrToBin(sBin); }
std::string ClsRegistryAccess::StrToBin(std::string_view sBin) { return registry::StrToBin(sBin); }
std::string ClsRegistryAccess::BinToStr(std::string_view sStr) { return registry::BinToStr(sStr); }
bool ClsRegistryAccess::isBinValid(std::string_view sBin) { return registry::isBinValid(sBin); }

}  // namespace cd::registry
