#include "locator/locator_path.h"

#include <cstdlib>
#include <optional>
#include <utility>

#include "locator/snapshot.h"

namespace tvx {
namespace {

// The fields a condition can compare, read from the element when first asked
// (kNeeded) or all at once through the full snapshot (kFull).
class ConditionFields {
 public:
  ConditionFields(const AccElement& element, ReadMode mode) : element_(element) {
    if (mode == ReadMode::kFull) {
      ElementInfo info = SnapshotElement(element);
      name_ = std::move(info.name);
      stateText_ = std::move(info.stateText);
      roleText_ = std::move(info.roleText);
      childId_ = std::move(info.childId);
      value_ = std::move(info.value);
    }
  }

  // The text of the field key selects; null when key selects none.
  const Text* Field(std::string_view key) {
    if (key == "n") {
      return &Read(name_, [this] { return SnapshotName(element_); });
    }
    if (key == "s") return &Read(stateText_, [this] { return element_.StateText(); });
    if (key == "t") return &Read(roleText_, [this] { return element_.RoleText(); });
    if (key == "id") return &Read(childId_, [this] { return ToText(element_.ChildId()); });
    if (key == "v") return &Read(value_, [this] { return element_.Value(); });
    return nullptr;
  }

 private:
  template <typename Reader>
  const Text& Read(std::optional<Text>& field, Reader read) {
    if (!field) field = read();
    return *field;
  }

  const AccElement& element_;
  std::optional<Text> name_, stateText_, roleText_, childId_, value_;
};

// key and value of a condition cut at its operator: the text before the first
// operator, and the text up to the next one or the end (empty when none follows).
std::pair<Text, Text> KeyAndValue(std::string_view condition, std::string_view op) {
  TextList pieces = SplitText(condition, op);
  Text key = pieces.empty() ? Text() : std::move(pieces[0]);
  Text value = pieces.size() > 1 ? std::move(pieces[1]) : Text();
  return {std::move(key), std::move(value)};
}

}  // namespace

TextList SplitNonEmpty(std::string_view text, std::string_view separator, std::int32_t limit) {
  if (separator.empty()) separator = ",";
  TextList pieces = limit == 0 ? SplitText(text, separator) : SplitText(text, separator, limit);
  TextList kept;
  kept.reserve(pieces.size());
  for (Text& piece : pieces) {
    if (!piece.empty()) kept.push_back(std::move(piece));
  }
  return kept;
}

bool MatchConditions(std::string_view conditions, const AccElement& element, ReadMode mode) {
  ConditionFields fields(element, mode);
  for (const Text& condition : SplitText(conditions, "&")) {
    if (FindText(condition, "==") != -1) {
      auto [key, value] = KeyAndValue(condition, "==");
      const Text* field = fields.Field(key);
      if (field == nullptr || *field != value) return false;
    } else if (FindText(condition, "=") != -1) {
      auto [key, value] = KeyAndValue(condition, "=");
      const Text* field = fields.Field(key);
      // Every text contains the empty text; a key outside the five is ignored.
      if (field != nullptr && !value.empty() && FindText(*field, value) == -1) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool LocateElement(const AccElement& start, std::string_view path, AccElement& out,
                   ReadMode mode) {
  ElementPtr current = start.Clone();
  for (const Text& segment : SplitNonEmpty(path, ">", 0)) {
    const Text head = TextLeft(segment, 1);
    const Text rest = TextRight(segment, TextLength(segment) - 1);
    if (head == "#") {
      const std::int64_t n = ToInteger(rest);
      std::int64_t count = 0;
      // Counting from the front needs no count: a child beyond the last cannot be fetched.
      if (mode == ReadMode::kFull || n < 0) {
        count = current->ChildCount();
        if (std::llabs(n) > count) return false;
      }
      if (n == 0) return false;
      const std::int64_t k = n > 0 ? n : count + n + 1;
      ElementPtr child = current->NewElement();
      if (!current->ChildAt(static_cast<std::int32_t>(k), *child)) return false;
      current = std::move(child);
    } else if (head == "?") {
      ElementList children;
      const std::int32_t n = current->AllChildren(children);
      bool matched = false;
      const auto listed = static_cast<std::int32_t>(children.size());
      for (std::int32_t j = 0; j < n && j < listed && !matched; ++j) {
        if (MatchConditions(rest, *children[j], mode)) {
          current = std::move(children[j]);
          matched = true;
        }
      }
      if (!matched) return false;
    }
    // Any other segment is skipped.
  }
  return out.CopyFrom(*current);
}

}  // namespace tvx
