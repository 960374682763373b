#include "site/SiteRecord.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "site/SitePaths.h"
#include "support/ScratchDir.h"

namespace zefa::site {
namespace {

// More files than one block of the record's text holds, each fingerprint
// given again and changed: what is read back is what was written.
TEST(SiteRecordTest, ALongSeasonsRecordReadsBackAsItWasWritten) {
    SiteRecord record;
    for (std::int64_t id = 1; id <= 5000; ++id) record.add(matchDataPath(id));
    for (std::int64_t id = 1; id <= 5000; ++id) {
        record.add(matchDataPath(id), std::to_string(id * 7919));
        record.add(matchDataPath(id), std::to_string(id * 7919));
        if (id % 2 == 0) record.add(matchDataPath(id), std::to_string(id));
    }
    const test::ScratchDir folder;
    std::ostringstream text;
    record.write(text);
    std::ofstream(folder.path() / SiteRecord::kFileName, std::ios::binary) << text.str();

    const auto read = SiteRecord::read(folder.path());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->files().size(), 5000u);
    EXPECT_EQ(read->fingerprint(matchDataPath(3)), std::to_string(3 * 7919));
    EXPECT_EQ(read->fingerprint(matchDataPath(4000)), "4000");
    std::ostringstream again;
    read->write(again);
    EXPECT_EQ(again.str(), text.str());

    // With the few files of a run that looked at part of the site: the run's
    // fingerprints kept, every file once, in order.
    SiteRecord run;
    run.add(matchDataPath(4000), "again");
    run.add(kIndexPage, "index");
    std::ostringstream merged;
    run.writeWith(merged, *read);
    const SiteRecord both = SiteRecord::fromText(merged.str());
    EXPECT_EQ(both.files().size(), 5001u);
    EXPECT_EQ(both.fingerprint(matchDataPath(4000)), "again");
    EXPECT_EQ(both.fingerprint(matchDataPath(3)), std::to_string(3 * 7919));
    std::ostringstream rewritten;
    both.write(rewritten);
    EXPECT_EQ(rewritten.str(), merged.str());

    // Files added at its end, after a line a run cut short left unfinished:
    // read with the others, the last fingerprint of a file kept.
    const SiteRecord added =
        SiteRecord::fromText(text.str() + "data/matches/12\n" + matchDataPath(9001) + "\tnew\n" +
                             matchDataPath(3) + "\tlater\n");
    EXPECT_EQ(added.files().size(), 5001u);
    EXPECT_EQ(added.fingerprint(matchDataPath(9001)), "new");
    EXPECT_EQ(added.fingerprint(matchDataPath(3)), "later");
}

}  // namespace
}  // namespace zefa::site
