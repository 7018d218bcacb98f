// Typed parameter lookup by dotted path.
#include "AmiParamParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using Quenrix::AMI::ParamParser;

TEST(ParamLookup, DottedKeyIncludesTheRootAndKeepsCase)
{
    ParamParser p("(usb3_rx (xboost 5))");
    double d = -1.0;
    EXPECT_TRUE(p.GetValue(d, "usb3_rx.xboost"));
    EXPECT_EQ(d, 5.0);
    d = -1.0;
    EXPECT_FALSE(p.GetValue(d, "xboost"));
    EXPECT_FALSE(p.GetValue(d, "usb3_rx.XBOOST"));
    EXPECT_FALSE(p.GetValue(d, "USB3_RX.xboost"));
    EXPECT_FALSE(p.GetValue(d, "usb3_rx"));
    EXPECT_FALSE(p.GetValue(d, "usb3_rx.xboost.x"));
    EXPECT_FALSE(p.GetValue(d, "usb3_rx.xboos"));
    EXPECT_EQ(d, -1.0);
}

TEST(ParamLookup, NestedBranches)
{
    ParamParser p("(usb3_tx (Reserved_Parameters (Ignore_Bits 3)) (Model_Specific (xvptx 0.9) (deep (er 1e-3))))");
    double d = 0;
    EXPECT_TRUE(p.GetValue(d, "usb3_tx.Model_Specific.xvptx"));
    EXPECT_DOUBLE_EQ(d, 0.9);
    EXPECT_TRUE(p.GetValue(d, "usb3_tx.Model_Specific.deep.er"));
    EXPECT_DOUBLE_EQ(d, 1e-3);
    int i = 0;
    EXPECT_TRUE(p.GetValue(i, "usb3_tx.Reserved_Parameters.Ignore_Bits"));
    EXPECT_EQ(i, 3);
    EXPECT_FALSE(p.GetValue(d, "usb3_tx.xvptx"));
    EXPECT_FALSE(p.GetValue(d, "usb3_tx.deep.er"));
}

TEST(ParamLookup, FirstHitInDocumentOrderWins)
{
    struct Case {
        const char* text;
        const char* key;
        int expected;
    };
    const Case cases[] = {
        {"(m (a 1) (a 2))", "m.a", 1},
        {"(m (s (a 1)) (s (a 2)))", "m.s.a", 1},
        {"(m (s (b 1)) (s (a 2)))", "m.s.a", 2},
        // A name holding a dot and a nested path spell the same key.
        {"(m (x.y 1) (x (y 2)))", "m.x.y", 1},
        {"(m (x (y 2)) (x.y 1))", "m.x.y", 2},
        {"(m.x (y 3))", "m.x.y", 3},
    };
    for (const Case& c : cases) {
        ParamParser p(c.text);
        int v = -1;
        EXPECT_TRUE(p.GetValue(v, c.key)) << c.text;
        EXPECT_EQ(v, c.expected) << c.text;
    }
}

TEST(ParamLookup, IntIsTruncatedTowardZero)
{
    struct Case {
        const char* value;
        bool ok;
        int expected;
    };
    const Case cases[] = {
        {"2.7", true, 2},      {"-2.7", true, -2},        {"5", true, 5},          {"1e3", true, 1000},
        {"-0.9", true, 0},     {"2147483647", true, 2147483647}, {"-2147483648", true, -2147483647 - 1},
        // Beyond int, and not a number: refused, the default stays.
        {"3e9", false, 77},    {"99999999999999999999", false, 77},    {"-2147483649", false, 77}, {"nan", false, 77},      {"inf", false, 77},
        {"True", false, 77},   {"x", false, 77},
    };
    for (const Case& c : cases) {
        ParamParser p((std::string("(m (v ") + c.value + "))").c_str());
        int v = 77;
        EXPECT_EQ(p.GetValue(v, "m.v"), c.ok) << c.value;
        EXPECT_EQ(v, c.expected) << c.value;
    }
}

TEST(ParamLookup, DoubleOnlyFromNumbers)
{
    ParamParser p("(m (b True) (s abc) (e \"\") (n) (f -1.5e-3) (h 0x10) (many 4 5 6) (first x 2))");
    double d = 42.5;
    for (const char* key : {"m.b", "m.s", "m.e", "m.n", "m.first", "m.missing"}) {
        EXPECT_FALSE(p.GetValue(d, key)) << key;
        EXPECT_EQ(d, 42.5) << key;
    }
    EXPECT_TRUE(p.GetValue(d, "m.f"));
    EXPECT_DOUBLE_EQ(d, -1.5e-3);
    EXPECT_TRUE(p.GetValue(d, "m.h"));
    EXPECT_EQ(d, 16.0);
    EXPECT_TRUE(p.GetValue(d, "m.many"));
    EXPECT_EQ(d, 4.0);
}

TEST(ParamLookup, BoolOnlyFromTrueOrFalse)
{
    ParamParser p("(m (t True) (f False) (lt true) (one 1) (tf True False) (ft False True))");
    bool b = true;
    EXPECT_TRUE(p.GetValue(b, "m.f"));
    EXPECT_FALSE(b);
    EXPECT_TRUE(p.GetValue(b, "m.t"));
    EXPECT_TRUE(b);
    EXPECT_TRUE(p.GetValue(b, "m.ft"));
    EXPECT_FALSE(b);
    for (bool start : {false, true}) {
        b = start;
        EXPECT_FALSE(p.GetValue(b, "m.lt"));
        EXPECT_FALSE(p.GetValue(b, "m.one"));
        EXPECT_FALSE(p.GetValue(b, "m.none"));
        EXPECT_EQ(b, start);
    }
}

TEST(ParamLookup, StringHandsOverANewCopy)
{
    ParamParser p("(m (s \"hello world\") (w Gaussian) (i 3))");
    char* out = nullptr;
    EXPECT_TRUE(p.GetValue(out, "m.s"));
    ASSERT_NE(out, nullptr);
    EXPECT_STREQ(out, "hello world");
    // The previous array is released (the leak checker would see it otherwise).
    char* before = out;
    EXPECT_TRUE(p.GetValue(out, "m.w"));
    EXPECT_NE(out, before);
    EXPECT_STREQ(out, "Gaussian");
    before = out;
    EXPECT_FALSE(p.GetValue(out, "m.i"));
    EXPECT_FALSE(p.GetValue(out, "m.x"));
    EXPECT_EQ(out, before);
    out[0] = 'X';  // the caller's copy, not the tree's
    EXPECT_TRUE(p.GetValue(out, "m.w"));
    EXPECT_STREQ(out, "Gaussian");
    delete[] out;
}

TEST(ParamLookup, UnparsableStringFailsEveryLookup)
{
    for (const char* text : {"usb3_rx (xboost 5)", "(usb3_rx (xboost 5)", "(xboost 5)", "",
                             "(a (b 1)) (c (d 2))", "()"}) {
        SCOPED_TRACE(text);
        ParamParser p(text);
        double d = 1.5;
        int i = 3;
        bool b = true;
        char* s = nullptr;
        EXPECT_FALSE(p.GetValue(d, "usb3_rx.xboost"));
        EXPECT_FALSE(p.GetValue(i, "usb3_rx.xboost"));
        EXPECT_FALSE(p.GetValue(b, "usb3_rx.xboost"));
        EXPECT_FALSE(p.GetValue(s, "usb3_rx.xboost"));
        EXPECT_EQ(p.GetLeaf("usb3_rx.xboost"), nullptr);
        EXPECT_EQ(d, 1.5);
        EXPECT_EQ(i, 3);
        EXPECT_TRUE(b);
        EXPECT_EQ(s, nullptr);
    }
    ParamParser none(nullptr);
    double d = 0;
    EXPECT_FALSE(none.GetValue(d, "a.b"));
}

TEST(ParamLookup, DroppedAndEmptyLeaves)
{
    ParamParser p("(m (t 1 (r 2)) (e) (k 4))");
    EXPECT_EQ(p.GetLeaf("m.t"), nullptr);
    LEAF_STRUCT* e = p.GetLeaf("m.e");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->iValueCount, 0);
    int v = 9;
    EXPECT_FALSE(p.GetValue(v, "m.e"));
    EXPECT_EQ(v, 9);
    EXPECT_TRUE(p.GetValue(v, "m.k"));
    EXPECT_EQ(v, 4);
}

TEST(ParamLookup, LeafBranchAndPrefixedSearch)
{
    ParamParser p("(m (a 1) (s (b 2)) (t (u (c 3))))");
    LEAF_STRUCT* b = p.GetLeaf("m.s.b");
    ASSERT_NE(b, nullptr);
    EXPECT_STREQ(b->sName, "b");
    ParamParser q("(m (s (b 2)) (a 1))");
    // The branches are reached through the tree the lookups use.
    LEAF_STRUCT* a = q.GetLeaf("m.a");
    ASSERT_NE(a, nullptr);
    EXPECT_FALSE(p.IsParamLeafBranch(nullptr));

    PTREE tree = nullptr;
    ASSERT_EQ(GetParsedTree("(m (a 1) (s (b 2)) (t (u (c 3))))", &tree), 0);
    const BRANCH_STRUCT* root = static_cast<const BRANCH_STRUCT*>(tree->pNodes[0].pRecord);
    const BRANCH_STRUCT* s = static_cast<const BRANCH_STRUCT*>(tree->pNodes[2].pRecord);
    const BRANCH_STRUCT* t = static_cast<const BRANCH_STRUCT*>(tree->pNodes[4].pRecord);
    EXPECT_TRUE(p.IsParamLeafBranch(root));
    EXPECT_TRUE(p.IsParamLeafBranch(s));
    EXPECT_FALSE(p.IsParamLeafBranch(t));
    EXPECT_EQ(p.FindLeafWithName(s, "m.s.b", "m"), tree->pNodes[3].pRecord);
    EXPECT_EQ(p.FindLeafWithName(s, "s.b", ""), tree->pNodes[3].pRecord);
    EXPECT_EQ(p.FindLeafWithName(s, "m.s.b", "x"), nullptr);
    EXPECT_EQ(p.FindLeafWithName(t, "m.t.u.c", "m"), tree->pNodes[6].pRecord);
    EXPECT_EQ(p.FindLeafWithName(root, "m.t.u.c", ""), tree->pNodes[6].pRecord);
    EXPECT_EQ(p.FindLeafWithName(nullptr, "m.a", ""), nullptr);
    FreeParsedTree(&tree);

    ParamParser r("(m (s (b 2)) (a 1))");
    PTREE tree2 = nullptr;
    ASSERT_EQ(GetParsedTree("(m (s (b 2)) (a 1))", &tree2), 0);
    EXPECT_FALSE(r.IsParamLeafBranch(static_cast<const BRANCH_STRUCT*>(tree2->pNodes[0].pRecord)));
    FreeParsedTree(&tree2);
}

TEST(ParamLookup, DeepTreeAndLongKey)
{
    const int depth = 20000;
    std::string text;
    std::string key;
    for (int i = 0; i < depth; ++i) {
        text += "(b" + std::to_string(i % 10) + " ";
        key += "b" + std::to_string(i % 10) + ".";
    }
    text += "(leaf 7)" + std::string(depth, ')');
    key += "leaf";
    ParamParser p(text.c_str());
    int v = 0;
    EXPECT_TRUE(p.GetValue(v, key.c_str()));
    EXPECT_EQ(v, 7);
    EXPECT_FALSE(p.GetValue(v, (key + "x").c_str()));
}
