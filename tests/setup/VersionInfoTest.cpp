#include "setup/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(VersionInfo, TheShortVersionEndsBeforeTheLastDotAndTheLinkCarriesIt)
{
    EXPECT_EQ(ShortVersion("1.2.3.4"), "1.2.3");
    EXPECT_EQ(ShortVersion("7"), "");
    EXPECT_EQ(AboutMessageLink("a@b.example", "1.2.3"), "mailto:a@b.example?subject=Редактор сценария 1.2.3");
    EXPECT_EQ(VersionStringQuery(0x0419, 0xabcd, "Comments"), "\\StringFileInfo\\0419ABCD\\Comments");
}

TEST(VersionInfo, EveryStringHasItsOwnFieldAndLongValuesAreCutToIt)
{
    VersionRecord record;
    std::memset(&record, 0x55, sizeof record);
    VersionStringField fields[kVersionStringCount];
    VersionStringFields(record, fields);
    EXPECT_STREQ(fields[0].key, "FileVersion");
    for (const VersionStringField& f : fields) {
        StoreVersionText(f.text, f.size, std::string(200, 'x'));
        EXPECT_EQ(std::strlen(f.text), f.size - 1) << f.key;
    }
    EXPECT_EQ(std::strlen(record.legalCopyright), 79u);
    EXPECT_EQ(std::strlen(record.comments), 31u) << "each field was written once, in its own place";
    StoreVersionText(record.comments, sizeof record.comments, "ab");
    EXPECT_STREQ(record.comments, "ab");
    EXPECT_EQ(record.language[0], 0x55) << "fields that were not stored are left alone";
}

} // namespace
