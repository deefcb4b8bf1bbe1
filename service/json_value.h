#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pk10 {

// Type codes of JSON values, used for an instance's kind and for any member or element.
namespace json_type {
inline constexpr int kNone = -1;  // missing member, index out of range, no valid node
inline constexpr int kNull = 0;
inline constexpr int kBool = 1;
inline constexpr int kString = 2;
inline constexpr int kInt = 3;  // 32-bit signed
inline constexpr int kDouble = 4;
inline constexpr int kInt64 = 5;
inline constexpr int kObject = 6;
inline constexpr int kArray = 7;
inline constexpr int kUint = 8;    // 32-bit unsigned
inline constexpr int kUint64 = 9;  // 64-bit unsigned
}  // namespace json_type

// One value of the JSON facility; its layout is private to json_value.cpp.
class JsonNode;
struct JsonNodeDeleter {
    void operator()(JsonNode* node) const;
};
using JsonNodePtr = std::unique_ptr<JsonNode, JsonNodeDeleter>;

// What the three JSON classes share: one owned node and the kind the instance stands for.
// Every value reads as text by one rule: null and no value give "", a boolean "true" or "", a
// string itself, an integer its decimal text, a double its shortest decimal text, an object or
// array its JSON text. Indices are 1-based.
class JsonBase {
public:
    virtual ~JsonBase();
    JsonBase(const JsonBase& other);
    JsonBase& operator=(const JsonBase& other);
    JsonBase(JsonBase&& other) noexcept;
    JsonBase& operator=(JsonBase&& other) noexcept;

    void setKind(int kind) { kind_ = kind; }
    int kind() const { return kind_; }

    // Replaces the node by a new empty object or array (by kind); false for another kind.
    bool reset();
    // Replaces the node by the parsed text; false (and no node) when the text is not JSON.
    bool parse(std::string_view text);
    // Takes over `node` when it is a valid node; returns whether it did.
    bool attach(JsonNodePtr node);
    const JsonNode* node() const { return node_.get(); }
    // Gives up the node without destroying it.
    JsonNodePtr detach();
    // Destroys the node; the instance holds none.
    void clear();
    void release() { clear(); }

    // The node written as compact JSON; "" when there is no valid node.
    std::string toText() const;
    // Members of an object or elements of an array; 0 otherwise.
    int size() const;
    // The type code of the node (json_type::kNone without one).
    int type() const;
    bool isEmpty() const { return !node_; }

    static std::string valueText(const JsonNode* node, int type);
    static int typeOf(const JsonNode* node);
    static bool isValidNode(const JsonNode* node) { return typeOf(node) != json_type::kNone; }
    static JsonNodePtr copyNode(const JsonNode& node);

protected:
    explicit JsonBase(int kind) : kind_(kind) {}
    JsonNode* mutableNode() { return node_.get(); }

private:
    JsonNodePtr node_;
    int kind_;
};

// A JSON object. Setters take the value as text and a type code (see json_type): 0 stores
// null, 1 true for a non-empty text, 2 the text, 3 and 8 the leading 32-bit integer, 4 the text
// as a single-precision number, 5 the leading 64-bit integer, 9 the leading 32-bit integer
// widened; any other code stores nothing and returns false.
class JsonValue : public JsonBase {
public:
    JsonValue() : JsonBase(json_type::kObject) {}

    bool setMember(std::string_view name, std::string_view value, int type = json_type::kString);
    bool setMemberNode(std::string_view name, const JsonNode& node);
    bool setMemberValue(std::string_view name, const JsonBase& value);

    // The member read as text; its type code goes to `type` (kNone when missing).
    std::string memberText(std::string_view name, int* type = nullptr) const;
    // The index-th member (1-based): its text, type and name; kNone and "" when out of range.
    std::string entryText(int index, int* type = nullptr, std::string* name = nullptr) const;
    // Copies an object member into a target of kind 6, or an array member into one of kind 7.
    bool memberValue(std::string_view name, JsonBase& target) const;
    bool entryValue(int index, JsonBase& target) const;
    // Every member's name, text and type; -1 (lists untouched) when the node is no object.
    int members(std::vector<std::string>& names, std::vector<std::string>& values,
                std::vector<int>& types) const;
};

// The reply envelope of the service: "errcode", "msg", "data".
class JsonReply : public JsonValue {
public:
    // The errcode read by the text-to-integer rule is 0 (so a missing one counts as 0 too).
    bool isOk() const;
    std::string msg() const { return memberText("msg"); }
    std::string errcode() const { return memberText("errcode"); }
};

// A JSON array; setters follow the same type codes as JsonValue.
class JsonArray : public JsonBase {
public:
    JsonArray() : JsonBase(json_type::kArray) {}

    bool append(std::string_view value, int type = json_type::kString);
    bool appendNode(const JsonNode& node);
    bool appendValue(const JsonBase& value);
    bool appendArray(const JsonArray& value) { return appendValue(value); }

    std::string elementText(int index, int* type = nullptr) const;
    bool elementValue(int index, JsonBase& target) const;
    // Every element's text and type; -1 (lists untouched) when the node is no array.
    int elements(std::vector<std::string>& values, std::vector<int>& types) const;
};

}  // namespace pk10
