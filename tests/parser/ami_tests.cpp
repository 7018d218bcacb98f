// The AMI parameter tree: result codes and shapes for a table of texts,
// values, types and string kinds, the dropped table leaf, quoting, and
// texts that are large, deep or malformed.
#include "ami.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The flat entry array written out: "B<level>:<name>[<children>]" for a
// branch, "L<level>:<name>{v1|v2}" for a leaf, "-" for an unused entry.
std::string Shape(const TREE_STRUCT* tree)
{
    std::string s;
    for (int i = 0; i < tree->iNodeCount; ++i) {
        const NODE_STRUCT& n = tree->pNodes[i];
        if (!s.empty())
            s += ' ';
        if (n.pRecord == nullptr) {
            s += '-';
            continue;
        }
        if (n.eKind == NODE_BRANCH) {
            const BRANCH_STRUCT* b = static_cast<const BRANCH_STRUCT*>(n.pRecord);
            s += "B" + std::to_string(n.iLevel) + ":" + b->sName + "[" + std::to_string(b->iChildCount) + "]";
        } else {
            const LEAF_STRUCT* l = static_cast<const LEAF_STRUCT*>(n.pRecord);
            s += "L" + std::to_string(n.iLevel) + ":" + l->sName + "{";
            for (int v = 0; v < l->iValueCount; ++v)
                s += (v ? "|" : "") + std::string(l->pValues[v].sValue);
            s += "}";
        }
    }
    return s;
}

struct TreeCase {
    const char* text;
    int code;
    const char* shape;  // for code 0
};

const TreeCase kTrees[] = {
    // The receiver's parameter string.
    {"(usb3_rx (xrx_process 0) (xboost 5))", 0, "B1:usb3_rx[2] L2:xrx_process{0} L2:xboost{5}"},
    // Two groups at the outermost level.
    {"(m (a 1)) (n (b 2))", 5, nullptr},
    // The first group is a leaf.
    {"(a 1)", 3, nullptr},
    {"x(a 1)", 2, nullptr},
    {"", 2, nullptr},
    {" \n\t ", 2, nullptr},
    {"no parenthesis at all", 2, nullptr},
    {")(", 2, nullptr},
    {"(m (a 1)", 1, nullptr},
    {"(", 1, nullptr},
    {"(m (a 1)))", 1, nullptr},
    // A parenthesis inside quotes does not count.
    {"(m (q \"(\"))", 0, "B1:m[1] L2:q{(}"},
    {"(m (q \")\"))", 0, "B1:m[1] L2:q{)}"},
    // Unbalanced quotes hide the closing parentheses.
    {"(m (q \"x))", 1, nullptr},
    // A quote in a name is not a quoted run for the scanner: the value's
    // quote then runs to the end of the text.
    {"(n\"x \"(v 1))", 1, nullptr},
    // ... or the scanner meets more groups than were counted.
    {"(x\" (y 1) \"z)", 7, nullptr},
    // The nested table leaf t is dropped; its entries stay empty at the end.
    {"(m (t 1 (r 2)) (b 3))", 0, "B1:m[1] L2:b{3} - -"},
    {"(m (t Table (\"a)\" 1) (r 2 3)) (b 2))", 0, "B1:m[1] L2:b{2} - - -"},
    // The only group is a dropped leaf; a dropped leaf as a second outer group.
    {"(a 1 (b 2))", 3, nullptr},
    {"(m (a 1)) (t 1 (r 2))", 5, nullptr},
    // Leading blanks and line feeds are skipped, trailing text ignored.
    {"\n\n   \t(m (a 1))  trailing words", 0, "B1:m[1] L2:a{1}"},
    {"(m\n(a\t1)\r\n(b\r2)\n)", 0, "B1:m[2] L2:a{1} L2:b{2}"},
    // Siblings without blanks between them.
    {"(m(a 1)(b 2))", 0, "B1:m[2] L2:a{1} L2:b{2}"},
    // "(name)" is a leaf without values; its siblings keep their levels.
    {"(m (e) (a 1))", 0, "B1:m[2] L2:e{} L2:a{1}"},
    {"(m (a 1) (e))", 0, "B1:m[2] L2:a{1} L2:e{}"},
    {"(m (e ) (a 1))", 0, "B1:m[2] L2:e{} L2:a{1}"},
    {"(r (m (e)) (n (a 1)))", 0, "B1:r[2] B2:m[1] L3:e{} B2:n[1] L3:a{1}"},
    {"(r (m (x (e))) (n (a 1)))", 0, "B1:r[2] B2:m[1] B3:x[1] L4:e{} B2:n[1] L3:a{1}"},
    {"(e)", 3, nullptr},
    // Empty names.
    {"()", 8, nullptr},
    {"(m ())", 8, nullptr},
    {"(m ( (a 1)))", 8, nullptr},
    // A ')' that closes more groups than are open.
    {"(m (a 1)))(", 6, nullptr},
    // Tokens between a branch's children are skipped.
    {"(m (a 1) stray \"q (\" (b 2))", 0, "B1:m[2] L2:a{1} L2:b{2}"},
    // Nested branches.
    {"(usb3_tx (Model_Specific (xtxlvl 3) (xtxeq -1.5)) (Reserved (GetWave_Exists False)))", 0,
     "B1:usb3_tx[2] B2:Model_Specific[2] L3:xtxlvl{3} L3:xtxeq{-1.5} B2:Reserved[1] L3:GetWave_Exists{False}"},
};

class TreeTest : public ::testing::Test {
protected:
    void TearDown() override { FreeParsedTree(&m_pTree); }
    int Parse(const std::string& text) { return GetParsedTree(text.c_str(), &m_pTree); }
    PTREE m_pTree = nullptr;
};

const LEAF_STRUCT* LeafAt(PTREE tree, int i)
{
    return tree->pNodes[i].eKind == NODE_LEAF ? static_cast<const LEAF_STRUCT*>(tree->pNodes[i].pRecord) : nullptr;
}

const BRANCH_STRUCT* BranchAt(PTREE tree, int i)
{
    return tree->pNodes[i].eKind == NODE_BRANCH ? static_cast<const BRANCH_STRUCT*>(tree->pNodes[i].pRecord)
                                                : nullptr;
}

int CountOpenOutsideQuotes(const std::string& text)
{
    int n = 0;
    bool q = false;
    for (char c : text) {
        if (c == '"')
            q = !q;
        else if (!q && c == '(')
            ++n;
    }
    return n;
}

} // namespace

TEST_F(TreeTest, TableOfTexts)
{
    for (const TreeCase& c : kTrees) {
        SCOPED_TRACE(c.text);
        std::string original = c.text;
        PTREE sentinel = reinterpret_cast<PTREE>(&original);
        PTREE tree = sentinel;
        int rc = GetParsedTree(original.c_str(), &tree);
        EXPECT_EQ(rc, c.code);
        EXPECT_EQ(original, c.text);  // the text itself is not changed
        if (rc != 0) {
            EXPECT_EQ(tree, sentinel);  // the caller's variable is left alone
            continue;
        }
        ASSERT_NE(tree, sentinel);
        EXPECT_EQ(tree->iNodeCount, CountOpenOutsideQuotes(original));
        EXPECT_EQ(Shape(tree), c.shape);
        FreeParsedTree(&tree);
        EXPECT_EQ(tree, nullptr);
    }
}

TEST_F(TreeTest, NullArguments)
{
    EXPECT_EQ(GetParsedTree(nullptr, &m_pTree), 3);
    EXPECT_EQ(GetParsedTree("(m (a 1))", nullptr), 3);
    FreeParsedTree(nullptr);
    PTREE none = nullptr;
    FreeParsedTree(&none);
    EXPECT_EQ(none, nullptr);
}

TEST_F(TreeTest, ChildrenShareTheRecordsOfTheFlatArray)
{
    ASSERT_EQ(Parse("(r (a 1) (s (b 2) (c 3)) (d 4))"), 0);
    const BRANCH_STRUCT* root = BranchAt(m_pTree, 0);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->iChildCount, 3);
    EXPECT_EQ(root->pChildren[0].pRecord, m_pTree->pNodes[1].pRecord);
    EXPECT_EQ(root->pChildren[1].pRecord, m_pTree->pNodes[2].pRecord);
    EXPECT_EQ(root->pChildren[2].pRecord, m_pTree->pNodes[5].pRecord);
    EXPECT_EQ(root->pChildren[1].eKind, NODE_BRANCH);
    EXPECT_EQ(root->pChildren[1].iLevel, 2);
    const BRANCH_STRUCT* s = BranchAt(m_pTree, 2);
    ASSERT_EQ(s->iChildCount, 2);
    EXPECT_EQ(s->pChildren[0].pRecord, m_pTree->pNodes[3].pRecord);
    EXPECT_EQ(s->pChildren[1].pRecord, m_pTree->pNodes[4].pRecord);
    EXPECT_EQ(m_pTree->pNodes[4].iLevel, 3);
}

TEST_F(TreeTest, ValueTypesAndQuotedText)
{
    ASSERT_EQ(Parse("(m (a 1 2.5 True x \"s t\"))"), 0);
    const LEAF_STRUCT* a = LeafAt(m_pTree, 1);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->iValueCount, 5);
    const int types[] = {VALUE_INTEGER, VALUE_FLOAT, VALUE_BOOLEAN, VALUE_STRING, VALUE_STRING};
    const char* texts[] = {"1", "2.5", "True", "x", "s t"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(a->pValues[i].eValueType, types[i]) << i;
        EXPECT_STREQ(a->pValues[i].sValue, texts[i]) << i;
        EXPECT_EQ(a->pValues[i].eStringType, STRING_NONE) << i;
    }
    EXPECT_EQ(a->eLeafKeyword, LEAF_OTHER);
}

TEST_F(TreeTest, LeafKeywordsAndStringKinds)
{
    ASSERT_EQ(Parse("(p (Type Float) (Format Range 1 0 2) (Usage In) (x range) (Default \"Gaussian\") "
                    "(Description \"Dual-Dirac\") (Labels DjRj) (usage In))"),
              0);
    struct Expect {
        int keyword, stringType;
    };
    const Expect expect[] = {{LEAF_TYPE, STRING_FLOAT},         {LEAF_FORMAT, STRING_RANGE},
                             {LEAF_USAGE, STRING_IN},           {LEAF_OTHER, STRING_NONE},
                             {LEAF_DEFAULT, STRING_GAUSSIAN},   {LEAF_DESCRIPTION, STRING_DUAL_DIRAC},
                             {LEAF_LABELS, STRING_DJRJ},        {LEAF_OTHER, STRING_IN}};
    for (int i = 0; i < 8; ++i) {
        const LEAF_STRUCT* l = LeafAt(m_pTree, i + 1);
        ASSERT_NE(l, nullptr) << i;
        EXPECT_EQ(l->eLeafKeyword, expect[i].keyword) << l->sName;
        EXPECT_EQ(l->pValues[0].eStringType, expect[i].stringType) << l->sName;
    }
    // Numbers after a format word are not strings and carry no kind.
    const LEAF_STRUCT* format = LeafAt(m_pTree, 2);
    ASSERT_EQ(format->iValueCount, 4);
    EXPECT_EQ(format->pValues[1].eStringType, STRING_NONE);
}

TEST_F(TreeTest, QuotingRules)
{
    ASSERT_EQ(Parse("(m (e \"\") (d \"  s t  \") (p \"a (b) c\") (j ab\"cd ef\"gh) (w \"   \"))"), 0);
    const LEAF_STRUCT* e = LeafAt(m_pTree, 1);
    ASSERT_EQ(e->iValueCount, 1);
    EXPECT_STREQ(e->pValues[0].sValue, "");
    EXPECT_EQ(e->pValues[0].eValueType, VALUE_EMPTY);
    // Leading blanks kept, trailing blanks cut.
    EXPECT_STREQ(LeafAt(m_pTree, 2)->pValues[0].sValue, "  s t");
    EXPECT_STREQ(LeafAt(m_pTree, 3)->pValues[0].sValue, "a (b) c");
    // A quote inside a token starts the value's text; what follows the
    // closing quote is the next token.
    const LEAF_STRUCT* j = LeafAt(m_pTree, 4);
    ASSERT_EQ(j->iValueCount, 2);
    EXPECT_STREQ(j->pValues[0].sValue, "cd ef");
    EXPECT_STREQ(j->pValues[1].sValue, "gh");
    const LEAF_STRUCT* w = LeafAt(m_pTree, 5);
    EXPECT_STREQ(w->pValues[0].sValue, "");
    EXPECT_EQ(w->pValues[0].eValueType, VALUE_EMPTY);
}

TEST(TreeValueType, DecidedInOrder)
{
    struct Case {
        const char* text;
        int type;
    };
    const Case cases[] = {
        {"", VALUE_EMPTY},      {"0", VALUE_INTEGER},  {"-12", VALUE_INTEGER}, {"+7", VALUE_INTEGER},
        {"1e-9", VALUE_FLOAT},  {"2.5", VALUE_FLOAT},  {"inf", VALUE_FLOAT},   {"0x1A", VALUE_FLOAT},
        {"True", VALUE_BOOLEAN}, {"False", VALUE_BOOLEAN}, {"true", VALUE_STRING}, {"TRUE", VALUE_STRING},
        {"5V", VALUE_STRING},   {"1.5.2", VALUE_STRING}, {"-", VALUE_STRING},  {"abc", VALUE_STRING},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetValueType(c.text), c.type) << '"' << c.text << '"';
    EXPECT_EQ(GetValueType(nullptr), VALUE_EMPTY);
}

TEST(TreeStringType, TwentyWordsExactCase)
{
    const char* words[] = {"In",    "Out",   "Info", "InOut",  "Float",     "Integer", "String",
                           "Boolean", "Tap", "UI",   "Value",  "Range",     "List",    "Corner",
                           "Increment", "Steps", "Table", "Gaussian", "Dual-Dirac", "DjRj"};
    for (int i = 0; i < 20; ++i) {
        int kind = -1;
        s_setStringType(&kind, words[i]);
        EXPECT_EQ(kind, i) << words[i];
    }
    for (const char* other : {"range", "in", "DualDirac", "", "Tap "}) {
        int kind = 42;
        s_setStringType(&kind, other);
        EXPECT_EQ(kind, 42) << other;
    }
}

TEST(TreeValidBuffer, CountsParenthesesOutsideQuotes)
{
    struct Case {
        const char* text;
        int ok, count;
    };
    const Case cases[] = {
        {"", 1, 0}, {"(a \"(\")", 1, 1}, {"(()", 0, 0}, {")(", 1, 1}, {"(a (b \")\"))", 1, 2}, {"\"((\"", 1, 0},
    };
    for (const Case& c : cases) {
        int count = -5;
        EXPECT_EQ(ISValidBuffer(c.text, &count), c.ok) << c.text;
        EXPECT_EQ(count, c.count) << c.text;
    }
    int count = -5;
    EXPECT_EQ(ISValidBuffer(nullptr, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ISValidBuffer("(a)", nullptr), 1);
}

TEST_F(TreeTest, ManyMegabytes)
{
    const int leaves = 200000;
    std::string text = "(root";
    for (int i = 0; i < leaves; ++i)
        text += " (p" + std::to_string(i) + " 1.25 \"quoted text (with parens)\" True)";
    text += ")";
    ASSERT_GT(text.size(), 8u << 20);
    ASSERT_EQ(Parse(text), 0);
    EXPECT_EQ(m_pTree->iNodeCount, leaves + 1);
    const BRANCH_STRUCT* root = BranchAt(m_pTree, 0);
    ASSERT_EQ(root->iChildCount, leaves);
    const LEAF_STRUCT* last = static_cast<const LEAF_STRUCT*>(root->pChildren[leaves - 1].pRecord);
    EXPECT_EQ(std::string(last->sName), "p" + std::to_string(leaves - 1));
    ASSERT_EQ(last->iValueCount, 3);
    EXPECT_STREQ(last->pValues[1].sValue, "quoted text (with parens)");
}

TEST_F(TreeTest, ThousandsOfNestingLevels)
{
    const int depth = 50000;
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "(b ";
    text += "(leaf 7)";
    text += std::string(depth, ')');
    ASSERT_EQ(Parse(text), 0);
    ASSERT_EQ(m_pTree->iNodeCount, depth + 1);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(m_pTree->pNodes[i].iLevel, i + 1);
        const BRANCH_STRUCT* b = BranchAt(m_pTree, i);
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->iChildCount, 1);
        ASSERT_EQ(b->pChildren[0].pRecord, m_pTree->pNodes[i + 1].pRecord);
    }
    EXPECT_EQ(m_pTree->pNodes[depth].iLevel, depth + 1);

    // Deep malformed texts end with a code, not a crash.
    FreeParsedTree(&m_pTree);
    EXPECT_EQ(Parse(std::string(depth, '(')), 1);
    EXPECT_EQ(Parse(std::string(depth, '(') + std::string(depth, ')')), 8);
    EXPECT_EQ(Parse("(m (t 1 " + std::string(depth, '(') + "x" + std::string(depth, ')') + ") (b 2))"), 0);
    EXPECT_EQ(Shape(m_pTree).substr(0, 15), "B1:m[1] L2:b{2}");
}

TEST_F(TreeTest, LongRunsOfBlanksInsideTheText)
{
    std::string blanks;
    for (int i = 0; i < 100000; ++i)
        blanks += " \n\t\r"[i % 4];
    std::string text = blanks + "(m" + blanks + "(a" + blanks + "1" + blanks + ")" + blanks + ")" + blanks;
    ASSERT_EQ(Parse(text), 0);
    EXPECT_EQ(Shape(m_pTree), "B1:m[1] L2:a{1}");
}

TEST_F(TreeTest, ManyValuesInOneLeaf)
{
    std::string text = "(m (v";
    for (int i = 0; i < 100000; ++i)
        text += " " + std::to_string(i);
    text += "))";
    ASSERT_EQ(Parse(text), 0);
    const LEAF_STRUCT* v = LeafAt(m_pTree, 1);
    ASSERT_EQ(v->iValueCount, 100000);
    EXPECT_STREQ(v->pValues[99999].sValue, "99999");
}

// The scanner on its own: it fills at most the capacity it is given and
// lowers the capacity to the entries it filled.
TEST(TreeScan, FillsInDocumentOrderWithinTheCapacity)
{
    struct Case {
        const char* text;
        int capacity, code, filled;
    };
    const Case cases[] = {
        {"(m (t 1 (r 2)) (b 3))", 4, 0, 2},
        {"(m (a 1) (b 2))", 3, 0, 3},
        {"(m (a 1) (b 2))", 2, 7, -1},
        // Text after the last counted group is not read ...
        {"(m (a 1))) ", 2, 0, 2},
        // ... but a stray close before it is.
        {"(m (a 1))) ", 3, 6, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<char> copy(c.text, c.text + std::strlen(c.text) + 1);
        TREE_STRUCT* tree = static_cast<TREE_STRUCT*>(std::calloc(1, sizeof(TREE_STRUCT)));
        tree->pNodes = static_cast<NODE_STRUCT*>(std::calloc((size_t)c.capacity, sizeof(NODE_STRUCT)));
        tree->iNodeCount = c.capacity;
        int capacity = c.capacity;
        EXPECT_EQ(ScanForNodes(copy.data(), tree->pNodes, &capacity), c.code);
        if (c.code == 0) {
            EXPECT_EQ(capacity, c.filled);
            EXPECT_EQ(tree->pNodes[0].iLevel, 1);
            EXPECT_EQ(tree->pNodes[1].iLevel, 2);
        }
        EXPECT_STREQ(copy.data(), c.text);
        PTREE owned = tree;  // releases whatever the scan made
        FreeParsedTree(&owned);
    }
}
