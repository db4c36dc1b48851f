// The walker and the matcher over an in-memory tree.
#include "locator/locator_path.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "locator/memory_element.h"
#include "locator/snapshot.h"

namespace tvx {
namespace {

constexpr std::int32_t kRoleClient = 10;
constexpr std::int32_t kRoleText = 41;
constexpr std::int32_t kStateFocusable = 0x100000;

// The small tree: W with children A, B, C; B with D and simple child E (id 2);
// D with F.
struct SmallTree {
  std::shared_ptr<MemoryTree> tree = std::make_shared<MemoryTree>();
  MemoryNode& w = tree->Root();
  MemoryNode& a = tree->AddChild(w, "", kRoleText, 0);
  MemoryNode& b = tree->AddChild(w, "", kRoleClient, 0);
  MemoryNode& c = tree->AddChild(w, "", kRoleClient, kStateFocusable);
  MemoryNode& d = tree->AddChild(b, "P", kRoleText, 0);
  MemoryNode& e = tree->AddSimpleChild(b, 2, "Q", kRoleText, 0);
  MemoryNode& f = tree->AddChild(d, "R", kRoleText, 0);

  MemoryElement Start() { return MemoryElement(tree, &w); }
};

TEST(LocateElement, WorkedExample) {
  SmallTree t;
  struct Case {
    std::string path;
    const MemoryNode* reached;  // null: the walk fails
  };
  const std::vector<Case> cases = {
      {"?t==客户端&s==正常>#2", &t.e},
      {"?t==客户端&s==正常>#-1", &t.e},
      {"?t==客户端&s==正常>#-2>#1", &t.f},
      {"?t==客户端&s==正常>#3", nullptr},
      {"?t==客户端&s==正常>#0", nullptr},
      {"?t=客户", &t.b},
      {"?id==2", nullptr},
      {"?t==客户端&s==正常>?n==NAMELESS", nullptr},
      {"?t==客户端&s==正常>?id==2", &t.e},
      {"x>#1", &t.a},
      {">>#2>>", &t.b},
      {"", &t.w},
      {"?", &t.a},
      {"?t==客户端&&s==正常", nullptr},
  };
  for (ReadMode mode : {ReadMode::kNeeded, ReadMode::kFull}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.path + (mode == ReadMode::kFull ? " (full)" : ""));
      MemoryElement start = t.Start();
      MemoryElement out;
      out.SetObject(t.tree, &t.f);  // a previous result that a failed walk must keep
      const bool walked = LocateElement(start, c.path, out, mode);
      EXPECT_EQ(walked, c.reached != nullptr);
      EXPECT_EQ(out.Target(), c.reached ? c.reached : &t.f);
      EXPECT_EQ(start.Target(), &t.w);
    }
  }
  MemoryElement start = t.Start();
  MemoryElement out;
  ASSERT_TRUE(LocateElement(start, "?t==客户端&s==正常>#2", out));
  EXPECT_EQ(out.ChildId(), 2);
  EXPECT_EQ(out.Name(), "Q");
}

// Position steps over a node with three children, the middle one simple.
TEST(LocateElement, PositionSteps) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& root = tree->Root();
  MemoryNode& first = tree->AddChild(root, "1");
  MemoryNode& simple = tree->AddSimpleChild(root, 7, "2");
  MemoryNode& last = tree->AddChild(root, "3");
  tree->AddChild(last, "3.1");
  struct Case {
    std::string path;
    const MemoryNode* reached;
  };
  const std::vector<Case> cases = {
      {"#-3", &first},  {"#3", &last},      {"#1", &first},   {"#2", &simple},
      {"#-2", &simple}, {"#4", nullptr},    {"#-4", nullptr}, {"#0", nullptr},
      {"#", nullptr},   {"#abc", nullptr},  {"# 3", &last},   {"#３", &last},
      {"#2>#1", nullptr},  // a simple child has no children
      {"#2>#-1", nullptr}, {"#2>?", nullptr}, {"#-2147483648", nullptr}, {"#2147483647", nullptr},
  };
  for (ReadMode mode : {ReadMode::kNeeded, ReadMode::kFull}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.path);
      MemoryElement start;
      start.SetObject(tree, &root);
      MemoryElement out;
      EXPECT_EQ(LocateElement(start, c.path, out, mode), c.reached != nullptr);
      EXPECT_EQ(out.Target(), c.reached);
    }
  }
}

TEST(LocateElement, EmptyStartFailsAtTheFirstStepButWalksAnEmptyPath) {
  MemoryElement empty;
  MemoryElement out;
  EXPECT_FALSE(LocateElement(empty, "#1", out));
  EXPECT_FALSE(LocateElement(empty, "?", out));
  EXPECT_TRUE(LocateElement(empty, ">>", out));
  EXPECT_TRUE(out.IsEmpty());
}

TEST(MatchConditions, KeysAndOperators) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& node = tree->AddChild(tree->Root(), "张三丰", kRoleClient, 0x1 | 0x4);
  node.value = "v=1";
  MemoryElement element;
  element.SetObject(tree, &node);
  struct Case {
    const char* conditions;
    bool holds;
  };
  const Case cases[] = {
      {"", true},
      {"n==张三丰", true},
      {"n==张三", false},
      {"n=三", true},
      {"n=四", false},
      {"s==不可用,已聚焦,", true},  // every state text ends with a comma
      {"s==不可用,已聚焦", false},
      {"s=已聚焦", true},
      {"t==客户端", true},
      {"t=客户", true},
      {"id==0", true},
      {"id==1", false},
      {"v==v=1", true},             // exact: the value runs to the end
      {"v=v=1", true},              // contains: the value "v" ends at the second "="
      {"v=1", true},
      {"x==1", false},              // exact on an unknown key never holds
      {"x=1", true},                // contains on an unknown key is ignored
      {"=客户", true},              // empty key: ignored
      {"==客户端", false},
      {"n", false},                 // no operator
      {"n==张三丰&", true},         // a final "&" adds nothing
      {"&n==张三丰", false},        // a leading "&" adds an empty condition
      {"n==张三丰&&t==客户端", false},
      {"n==张三丰==ignored", true}, // the value ends at the second "=="
      {"v==", false},               // nothing after the operator: the empty text
      {"n=", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchConditions(c.conditions, element), c.holds) << c.conditions;
    EXPECT_EQ(MatchConditions(c.conditions, element, ReadMode::kFull), c.holds) << c.conditions;
  }
}

TEST(MatchConditions, NamelessMatchesNoNameAndTheLiteralName) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& root = tree->Root();
  tree->AddChild(root, "有名");
  MemoryNode& unnamed = tree->AddChild(root, "");
  MemoryNode& literal = tree->AddChild(root, "NAMELESS");
  MemoryElement start;
  start.SetObject(tree, &root);
  MemoryElement out;
  ASSERT_TRUE(LocateElement(start, "?n==NAMELESS", out));
  EXPECT_EQ(out.Target(), &unnamed);
  MemoryElement e;
  e.SetObject(tree, &literal);
  EXPECT_TRUE(MatchConditions("n==NAMELESS", e));
}

TEST(MatchConditions, ContainsOnRoleTextTakesTheFirstThatContainsIt) {
  auto tree = std::make_shared<MemoryTree>();
  tree->roleTexts[77] = "客户端区域";
  MemoryNode& root = tree->Root();
  MemoryNode& wider = tree->AddChild(root, "", 77);
  tree->AddChild(root, "", kRoleClient);
  MemoryElement start;
  start.SetObject(tree, &root);
  MemoryElement out;
  ASSERT_TRUE(LocateElement(start, "?t=客户端", out));
  EXPECT_EQ(out.Target(), &wider);
  ASSERT_TRUE(LocateElement(start, "?t==客户端", out));
  EXPECT_NE(out.Target(), &wider);
}

TEST(SplitNonEmpty, DropsEmptyPiecesAndHonoursTheLimit) {
  EXPECT_EQ(SplitNonEmpty(">>a>>b>", ">", 0), (TextList{"a", "b"}));
  EXPECT_EQ(SplitNonEmpty("a,,b", "", 0), (TextList{"a", "b"}));
  EXPECT_EQ(SplitNonEmpty("a>b>c", ">", 2), (TextList{"a", "b"}));
  EXPECT_EQ(SplitNonEmpty(">>>", ">", 0), TextList{});
  EXPECT_EQ(SplitNonEmpty("", ">", 0), TextList{});
}

TEST(LocatorPaths, SystemPathsByteForByte) {
  // 客户端 = BF CD BB A7 B6 CB, 正常 = D5 FD B3 A3 in code page 936.
  const std::string query = "?t==\xBF\xCD\xBB\xA7\xB6\xCB&s==\xD5\xFD\xB3\xA3";
  EXPECT_EQ(kAccountNamePath, query + ">#1>#2>#1>#1");
  EXPECT_EQ(kChatTitlePath, query + ">#1>#2>#3>#1>#1>#1>#1>#1>#1>#1>#1>#1>#1");
  EXPECT_EQ(SplitNonEmpty(kAccountNamePath, ">", 0).size(), 5u);
  EXPECT_EQ(SplitNonEmpty(kChatTitlePath, ">", 0).size(), 14u);
}

// A client-shaped tree: the two system paths, read with both modes, reach the same
// elements, and reading only what the conditions need costs far fewer calls.
TEST(LocateElement, ReadingOnlyWhatIsNeededGivesTheSameElementsForFewerCalls) {
  auto tree = std::make_shared<MemoryTree>();
  MemoryNode& window = tree->Root();
  tree->BindWindow(0x1234, window, {100, 50, 800, 600});
  const std::int32_t roles[] = {2, 1, 2, kRoleClient, 3, 3, 4};
  const std::int32_t states[] = {0, kStateFocusable, 0x8000, 0, 0x8000, 0x8000, 0x8000};
  MemoryNode* client = nullptr;
  for (int i = 0; i < 7; ++i) {
    MemoryNode& child = tree->AddChild(window, "", roles[i], states[i]);
    if (roles[i] == kRoleClient) client = &child;
  }
  MemoryNode& panel = tree->AddChild(*client, "panel");
  tree->AddChild(panel, "nav");
  MemoryNode& body = tree->AddChild(panel, "body");
  MemoryNode& account = tree->AddChild(body, "account");
  tree->AddSimpleChild(account, 1, "张三");
  tree->AddChild(body, "list");
  MemoryNode* chat = &tree->AddChild(body, "chat");
  for (int i = 0; i < 10; ++i) {
    chat = &tree->AddChild(*chat, i == 9 ? "李四" : "level");
    tree->AddChild(*chat->parent, "sibling");
  }

  for (std::string_view path : {kAccountNamePath, kChatTitlePath}) {
    MemoryElement start(tree);
    ASSERT_TRUE(start.FromWindow(0x1234));
    MemoryElement needed, full;
    tree->calls = 0;
    ASSERT_TRUE(LocateElement(start, path, needed, ReadMode::kNeeded));
    const Text neededName = needed.Name();
    const std::int64_t neededCalls = tree->calls;
    tree->calls = 0;
    ASSERT_TRUE(LocateElement(start, path, full, ReadMode::kFull));
    const Text fullName = SnapshotElement(full).name;
    const std::int64_t fullCalls = tree->calls;
    EXPECT_EQ(needed.Target(), full.Target());
    EXPECT_EQ(neededName, fullName);
    EXPECT_LE(neededCalls * 2, fullCalls) << neededCalls << " vs " << fullCalls;
  }
  MemoryElement start(tree);
  ASSERT_TRUE(start.FromWindow(0x1234));
  MemoryElement out;
  ASSERT_TRUE(LocateElement(start, kAccountNamePath, out));
  EXPECT_EQ(out.Name(), "张三");
  EXPECT_EQ(out.ChildId(), 1);
  ASSERT_TRUE(LocateElement(start, kChatTitlePath, out));
  EXPECT_EQ(out.Name(), "李四");
}

}  // namespace
}  // namespace tvx
