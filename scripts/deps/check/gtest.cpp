// GoogleTest/GoogleMock, linked with gmock_main.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {
struct Source {
    virtual ~Source() = default;
    virtual int read(char *buf, int len) = 0;
};
struct MockSource : Source {
    MOCK_METHOD(int, read, (char *buf, int len), (override));
};
}

TEST(DepsCheck, MockIsCalled)
{
    MockSource src;
    EXPECT_CALL(src, read(testing::_, 16)).WillOnce(testing::Return(7));
    char buf[16];
    EXPECT_EQ(src.read(buf, 16), 7);
}
