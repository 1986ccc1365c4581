// The host heap with its allocation limit, and the host string.
#include <gtest/gtest.h>

#include <cstring>

#include "hostsdk/strclass.h"

namespace {

class HostHeap : public ::testing::Test {
  protected:
    void TearDown() override { HostSetAllocationLimit(0); }
};

struct Record : public MaxHeapOperators {
    char bytes[100];
};

TEST_F(HostHeap, BlocksAreCountedWhileHeld) {
    size_t before = HostHeapBytesInUse();
    void* p = MAX_malloc(1000);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(HostHeapBytesInUse(), before + 1000);
    zfree(p);
    EXPECT_EQ(HostHeapBytesInUse(), before);
    zfree(nullptr);  // tolerated
    EXPECT_EQ(HostHeapBytesInUse(), before);
}

TEST_F(HostHeap, CallocZeroFillsAndRefusesOverflow) {
    unsigned char* p = static_cast<unsigned char*>(MAX_calloc(64, 4));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(p[i], 0) << i;
    zfree(p);
    EXPECT_EQ(MAX_calloc(size_t(-1) / 2, 4), nullptr);
}

TEST_F(HostHeap, LimitMakesAllocationsFailWithoutThrowing) {
    HostSetAllocationLimit(HostHeapBytesInUse() + 150);
    void* small = MAX_malloc(100);
    EXPECT_NE(small, nullptr);
    EXPECT_EQ(MAX_malloc(100), nullptr);  // 200 would pass the limit
    Record* r = new Record;               // a failed new-expression yields null
    EXPECT_EQ(r, nullptr);
    zfree(small);
    r = new Record;
    EXPECT_NE(r, nullptr);
    delete r;
    HostSetAllocationLimit(0);
    void* big = MAX_malloc(1 << 20);
    EXPECT_NE(big, nullptr);
    zfree(big);
}

TEST_F(HostHeap, HugeRequestFails) { EXPECT_EQ(MAX_malloc(size_t(-1) - 4), nullptr); }

TEST(HostString, EmptyStringsAreNeverNull) {
    CStr s;
    EXPECT_STREQ(s.data(), "");
    EXPECT_EQ(s.Length(), 0);
    EXPECT_TRUE(s.isNull());
    CStr n(nullptr);
    EXPECT_STREQ(n.data(), "");
    EXPECT_TRUE(s == "");
    EXPECT_TRUE(s == nullptr);
}

TEST(HostString, CopiesOwnTheirText) {
    char text[] = "cube";
    CStr a(text);
    text[0] = 'X';
    EXPECT_STREQ(a.data(), "cube");
    CStr b(a);
    b = "other";
    EXPECT_STREQ(a, "cube");
    EXPECT_STREQ(b, "other");
    a = a;  // self-assignment keeps the text
    EXPECT_STREQ(a, "cube");
    a = a.data();
    EXPECT_STREQ(a, "cube");
    EXPECT_EQ(a.Length(), 4);
    EXPECT_TRUE(a == "cube");
    EXPECT_FALSE(a == "cub");
}

TEST(HostString, PrintfFormatsAndMayUseItsOwnText) {
    CStr s;
    EXPECT_EQ(s.printf("not enough memory to create %d faces", 2500001), 41);
    EXPECT_STREQ(s, "not enough memory to create 2500001 faces");
    CStr name("bunny");
    EXPECT_EQ(name.printf("%s_mso", name.data()), 9);
    EXPECT_STREQ(name, "bunny_mso");
    EXPECT_EQ(name.printf("%s", ""), 0);
    EXPECT_STREQ(name, "");
}

TEST(HostString, ReleasesItsTextOnTheHostHeap) {
    size_t before = HostHeapBytesInUse();
    {
        CStr s("some text");
        s.printf("%s and more %d", "text", 7);
        EXPECT_GT(HostHeapBytesInUse(), before);
    }
    EXPECT_EQ(HostHeapBytesInUse(), before);
}

TEST(HostString, PrintfWithoutMemoryLeavesTheStringAlone) {
    CStr s("kept");
    HostSetAllocationLimit(HostHeapBytesInUse() + 4);
    EXPECT_EQ(s.printf("%s", "a longer text than four bytes"), -1);
    HostSetAllocationLimit(0);
    EXPECT_STREQ(s, "kept");
}

}  // namespace
