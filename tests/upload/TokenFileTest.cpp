#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/ScratchDir.h"
#include "upload/TokenFile.h"

namespace zefa::upload {
namespace {

TEST(TokenFileTest, ReadsOneTokenFromAFileOfItsOwnerAloneAndNeverQuotesIt) {
    const test::ScratchDir dir;
    struct Case {
        std::string content;
        mode_t mode;
        std::string tokenOrWhyNot;
    };
    const std::string kShared = "other users may read or change it (mode ";
    const std::string kMend = "; make it yours alone with chmod 600";
    const Case cases[] = {
        {"s3cr3t-_Token==\n", 0600, "s3cr3t-_Token=="},
        {"  s3cr3t\r\n\n", 0400, "s3cr3t"},
        {"s3cr3t\n", 0640, kShared + "0640)" + kMend},
        {"s3cr3t\n", 0602, kShared + "0602)" + kMend},
        {"\n", 0600, "it holds no token"},
        {"s3cr3t other\n", 0600, "it holds other text than one token"},
        {"s3cr3t\r\nX-Header: s3cr3t", 0600, "it holds other text than one token"},
        {std::string(5000, 'a'), 0600, "it holds other text than one token"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 40));
        const auto file = dir / "token";
        std::filesystem::remove(file);
        test::writeFile(file, c.content);
        ::chmod(file.c_str(), c.mode);
        std::string whyNot;
        const auto token = readTokenFile(file, whyNot);
        EXPECT_EQ(token.value_or(whyNot), c.tokenOrWhyNot);
        EXPECT_EQ(whyNot.find("s3cr3t"), std::string::npos);
    }
    std::string whyNot;
    EXPECT_FALSE(readTokenFile(dir / "missing", whyNot));
    EXPECT_EQ(whyNot, "No such file or directory");
    std::filesystem::create_directory(dir / "folder");
    ::chmod((dir / "folder").c_str(), 0700);
    EXPECT_FALSE(readTokenFile(dir / "folder", whyNot));
    EXPECT_EQ(whyNot, "it is not a regular file");
}

}  // namespace
}  // namespace zefa::upload
