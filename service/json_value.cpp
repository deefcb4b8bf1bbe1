#include "service/json_value.h"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

#include "service/codec.h"
#include "service/text_rules.h"

namespace pk10 {

class JsonNode {
public:
    nlohmann::ordered_json value;
};

void JsonNodeDeleter::operator()(JsonNode* node) const {
    delete node;
}

namespace {

using Json = nlohmann::ordered_json;

// Deeper documents are refused: writing and copying a tree recurse once per level.
constexpr int kMaxDepth = 512;

bool withinDepth(std::string_view text) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

JsonNodePtr makeNode(Json value) {
    JsonNodePtr node(new JsonNode);
    node->value = std::move(value);
    return node;
}

std::string writeJson(const Json& value) {
    try {
        return value.dump(-1, ' ', false, Json::error_handler_t::replace);
    } catch (...) {
        return {};
    }
}

std::string doubleText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc()) {
        return {};
    }
    return std::string(buffer, result.ptr);
}

int typeOfJson(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return json_type::kNull;
        case Json::value_t::boolean:
            return json_type::kBool;
        case Json::value_t::string:
            return json_type::kString;
        case Json::value_t::number_integer: {
            const auto v = value.get<std::int64_t>();
            const bool fits = v >= std::numeric_limits<std::int32_t>::min() &&
                              v <= std::numeric_limits<std::int32_t>::max();
            return fits ? json_type::kInt : json_type::kInt64;
        }
        case Json::value_t::number_unsigned: {
            const auto v = value.get<std::uint64_t>();
            if (v <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
                return json_type::kInt;
            }
            return v <= std::numeric_limits<std::uint32_t>::max() ? json_type::kUint
                                                                  : json_type::kUint64;
        }
        case Json::value_t::number_float:
            return json_type::kDouble;
        case Json::value_t::object:
            return json_type::kObject;
        case Json::value_t::array:
            return json_type::kArray;
        default:
            return json_type::kNone;
    }
}

std::string textOf(const Json& value) {
    switch (value.type()) {
        case Json::value_t::boolean:
            return value.get<bool>() ? "true" : "";
        case Json::value_t::string:
            return value.get<std::string>();
        case Json::value_t::number_integer:
            return std::to_string(value.get<std::int64_t>());
        case Json::value_t::number_unsigned:
            return std::to_string(value.get<std::uint64_t>());
        case Json::value_t::number_float:
            return doubleText(value.get<double>());
        case Json::value_t::object:
        case Json::value_t::array:
            return writeJson(value);
        default:
            return {};
    }
}

// The leading decimal number of a text as a 64-bit integer (blanks, sign, digits; saturating).
std::int64_t textToInt64(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const std::uint64_t limit = negative ? kMax + 1 : kMax;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<std::uint64_t>(text[i] - '0');
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    if (negative) {
        return value == kMax + 1 ? std::numeric_limits<std::int64_t>::min()
                                 : -static_cast<std::int64_t>(value);
    }
    return static_cast<std::int64_t>(value);
}

// The value a typed setter stores; nullopt for an unknown type code.
std::optional<Json> valueFromText(std::string_view text, int type) {
    switch (type) {
        case json_type::kNull:
            return Json(nullptr);
        case json_type::kBool:
            return Json(!text.empty());
        case json_type::kString:
            return Json(repairUtf8(text));
        case json_type::kInt:
        case json_type::kUint:
            return Json(textToInt(text));
        case json_type::kDouble: {
            const std::string copy(text);
            return Json(static_cast<double>(std::strtof(copy.c_str(), nullptr)));
        }
        case json_type::kInt64:
            return Json(textToInt64(text));
        case json_type::kUint64:
            return Json(static_cast<std::int64_t>(textToInt(text)));
        default:
            return std::nullopt;
    }
}

const Json* memberAt(const JsonNode* node, int index, std::string* name) {
    if (node == nullptr || !node->value.is_object() || index < 1 ||
        static_cast<std::size_t>(index) > node->value.size()) {
        return nullptr;
    }
    auto it = node->value.items().begin();
    std::advance(it, index - 1);
    if (name != nullptr) {
        *name = it.key();
    }
    return &it.value();
}

bool copyInto(const Json* source, JsonBase& target) {
    if (source == nullptr) {
        return false;
    }
    const bool fits = (source->is_object() && target.kind() == json_type::kObject) ||
                      (source->is_array() && target.kind() == json_type::kArray);
    if (!fits) {
        return false;
    }
    return target.attach(makeNode(*source));
}

}  // namespace

JsonBase::~JsonBase() = default;

JsonBase::JsonBase(const JsonBase& other)
    : node_(other.node_ ? copyNode(*other.node_) : nullptr), kind_(other.kind_) {}

JsonBase& JsonBase::operator=(const JsonBase& other) {
    if (this != &other) {
        node_ = other.node_ ? copyNode(*other.node_) : nullptr;
        kind_ = other.kind_;
    }
    return *this;
}

JsonBase::JsonBase(JsonBase&& other) noexcept = default;
JsonBase& JsonBase::operator=(JsonBase&& other) noexcept = default;

bool JsonBase::reset() {
    if (kind_ == json_type::kObject) {
        node_ = makeNode(Json::object());
        return true;
    }
    if (kind_ == json_type::kArray) {
        node_ = makeNode(Json::array());
        return true;
    }
    return false;
}

bool JsonBase::parse(std::string_view text) {
    node_.reset();
    // A NUL byte is never valid JSON, but the facility would stop reading at it.
    if (!withinDepth(text) || text.find('\0') != std::string_view::npos) {
        return false;
    }
    try {
        Json value = Json::parse(text.begin(), text.end(), nullptr, false);
        if (value.is_discarded()) {
            return false;
        }
        node_ = makeNode(std::move(value));
        return true;
    } catch (...) {
        return false;
    }
}

bool JsonBase::attach(JsonNodePtr node) {
    if (!isValidNode(node.get())) {
        return false;
    }
    node_ = std::move(node);
    return true;
}

JsonNodePtr JsonBase::detach() {
    return std::move(node_);
}

void JsonBase::clear() {
    node_.reset();
}

std::string JsonBase::toText() const {
    return node_ ? writeJson(node_->value) : std::string();
}

int JsonBase::size() const {
    if (!node_ || !(node_->value.is_object() || node_->value.is_array())) {
        return 0;
    }
    return static_cast<int>(node_->value.size());
}

int JsonBase::type() const {
    return typeOf(node_.get());
}

std::string JsonBase::valueText(const JsonNode* node, int /*type*/) {
    return node ? textOf(node->value) : std::string();
}

int JsonBase::typeOf(const JsonNode* node) {
    return node ? typeOfJson(node->value) : json_type::kNone;
}

JsonNodePtr JsonBase::copyNode(const JsonNode& node) {
    return makeNode(node.value);
}

bool JsonValue::setMember(std::string_view name, std::string_view value, int type) {
    JsonNode* node = mutableNode();
    if (node == nullptr || !node->value.is_object()) {
        return false;
    }
    auto stored = valueFromText(value, type);
    if (!stored) {
        return false;
    }
    node->value[repairUtf8(name)] = std::move(*stored);
    return true;
}

bool JsonValue::setMemberNode(std::string_view name, const JsonNode& member) {
    JsonNode* node = mutableNode();
    if (node == nullptr || !node->value.is_object() || member.value.is_discarded()) {
        return false;
    }
    node->value[repairUtf8(name)] = member.value;
    return true;
}

bool JsonValue::setMemberValue(std::string_view name, const JsonBase& value) {
    return value.node() != nullptr && setMemberNode(name, *value.node());
}

std::string JsonValue::memberText(std::string_view name, int* type) const {
    const JsonNode* node = this->node();
    const Json* member = nullptr;
    if (node != nullptr && node->value.is_object()) {
        const auto it = node->value.find(std::string(name));
        if (it != node->value.end()) {
            member = &*it;
        }
    }
    if (type != nullptr) {
        *type = member ? typeOfJson(*member) : json_type::kNone;
    }
    return member ? textOf(*member) : std::string();
}

std::string JsonValue::entryText(int index, int* type, std::string* name) const {
    const Json* member = memberAt(node(), index, name);
    if (type != nullptr) {
        *type = member ? typeOfJson(*member) : json_type::kNone;
    }
    return member ? textOf(*member) : std::string();
}

bool JsonValue::memberValue(std::string_view name, JsonBase& target) const {
    const JsonNode* node = this->node();
    if (node == nullptr || !node->value.is_object()) {
        return false;
    }
    const auto it = node->value.find(std::string(name));
    return it != node->value.end() && copyInto(&*it, target);
}

bool JsonValue::entryValue(int index, JsonBase& target) const {
    return copyInto(memberAt(node(), index, nullptr), target);
}

int JsonValue::members(std::vector<std::string>& names, std::vector<std::string>& values,
                       std::vector<int>& types) const {
    const JsonNode* node = this->node();
    if (node == nullptr || !node->value.is_object()) {
        return -1;
    }
    names.clear();
    values.clear();
    types.clear();
    for (const auto& [key, member] : node->value.items()) {
        names.push_back(key);
        values.push_back(textOf(member));
        types.push_back(typeOfJson(member));
    }
    return static_cast<int>(names.size());
}

bool JsonReply::isOk() const {
    return textToInt(errcode()) == 0;
}

bool JsonArray::append(std::string_view value, int type) {
    JsonNode* node = mutableNode();
    if (node == nullptr || !node->value.is_array()) {
        return false;
    }
    auto stored = valueFromText(value, type);
    if (!stored) {
        return false;
    }
    node->value.push_back(std::move(*stored));
    return true;
}

bool JsonArray::appendNode(const JsonNode& element) {
    JsonNode* node = mutableNode();
    if (node == nullptr || !node->value.is_array() || element.value.is_discarded()) {
        return false;
    }
    node->value.push_back(element.value);
    return true;
}

bool JsonArray::appendValue(const JsonBase& value) {
    return value.node() != nullptr && appendNode(*value.node());
}

namespace {

const Json* elementAt(const JsonNode* node, int index) {
    if (node == nullptr || !node->value.is_array() || index < 1 ||
        static_cast<std::size_t>(index) > node->value.size()) {
        return nullptr;
    }
    return &node->value[static_cast<std::size_t>(index - 1)];
}

}  // namespace

std::string JsonArray::elementText(int index, int* type) const {
    const Json* element = elementAt(node(), index);
    if (type != nullptr) {
        *type = element ? typeOfJson(*element) : json_type::kNone;
    }
    return element ? textOf(*element) : std::string();
}

bool JsonArray::elementValue(int index, JsonBase& target) const {
    return copyInto(elementAt(node(), index), target);
}

int JsonArray::elements(std::vector<std::string>& values, std::vector<int>& types) const {
    const JsonNode* node = this->node();
    if (node == nullptr || !node->value.is_array()) {
        return -1;
    }
    values.clear();
    types.clear();
    for (const auto& element : node->value) {
        values.push_back(textOf(element));
        types.push_back(typeOfJson(element));
    }
    return static_cast<int>(values.size());
}

}  // namespace pk10
