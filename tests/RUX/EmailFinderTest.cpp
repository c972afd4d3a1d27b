// E-mail addresses with the names and directions written around them.
#include <gtest/gtest.h>

#include <string>

#include "RUX/EmailFinder.h"

namespace {

TEST(EmailFinder, AddressesWithTheirNames)
{
    auto found = FindEmails("联系人：张三 &lt;zhang.san@tsinghua.edu.cn&gt;，John Smith (john-smith@example.org).");
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].username, "zhang.san");
    EXPECT_EQ(found[0].domainname, "tsinghua.edu.cn");
    EXPECT_EQ(found[0].cnName, "张三");
    EXPECT_EQ(found[0].enName, "");
    EXPECT_EQ(found[1].username, "john-smith");
    EXPECT_EQ(found[1].domainname, "example.org");
    EXPECT_EQ(found[1].enName, "John Smith");
}

TEST(EmailFinder, LabelsGiveDirectionButAreNotNames)
{
    auto found = FindEmails("发件人：李四 lisi@abc.com；收件人：wang@abc.com；邮箱：info@abc.com");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].direction, "from");
    EXPECT_EQ(found[0].cnName, "李四");
    EXPECT_EQ(found[1].direction, "to");
    EXPECT_EQ(found[1].cnName, "");
    EXPECT_EQ(found[2].cnName, "");  // 邮箱 is a label, not a name
}

TEST(EmailFinder, RejectsWhatIsNotAnAddress)
{
    EXPECT_TRUE(FindEmails("价格@5元，a@b，@home, user@.com, x@y.c1, .@a.cn").empty());
    auto found = FindEmails("请发至 ..a.b@mail.example.com.");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].username, "a.b");
    EXPECT_EQ(found[0].domainname, "mail.example.com");
    EXPECT_TRUE(FindEmails("").empty());
    EXPECT_TRUE(FindEmails(std::string(1000, '@')).empty());
}

}  // namespace
