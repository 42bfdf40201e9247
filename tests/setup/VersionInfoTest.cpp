#include "setup/VersionInfo.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

TEST(VersionInfo, TheLabelShowsTheVersionUpToItsLastDot)
{
    EXPECT_EQ(ShortVersion("1.2.3.4"), "1.2.3");
    EXPECT_EQ(ShortVersion("2.10"), "2");
    EXPECT_EQ(ShortVersion("7"), "");
    EXPECT_EQ(ShortVersion(""), "");
}

TEST(VersionInfo, TheMessageLinkCarriesTheSubjectAlsoWithoutAVersion)
{
    EXPECT_EQ(AboutMessageLink("a@b.example", "1.2.3"), "mailto:a@b.example?subject=Редактор сценария 1.2.3");
    EXPECT_EQ(AboutMessageLink("a@b.example", ""), "mailto:a@b.example?subject=Редактор сценария ");
}

TEST(VersionInfo, QueriesUseFourUpperCaseHexDigitsForLanguageAndCodePage)
{
    EXPECT_EQ(VersionStringQuery(0x0419, 1251, "FileVersion"), "\\StringFileInfo\\041904E3\\FileVersion");
    EXPECT_EQ(VersionStringQuery(0x0009, 0xabcd, "Comments"), "\\StringFileInfo\\0009ABCD\\Comments");
}

TEST(VersionInfo, EveryStringHasItsOwnFieldAndLongValuesAreCutToTheField)
{
    VersionRecord record;
    std::memset(&record, 0x55, sizeof record);
    VersionStringField fields[kVersionStringCount];
    VersionStringFields(record, fields);
    EXPECT_STREQ(fields[0].key, "FileVersion");
    EXPECT_STREQ(fields[8].key, "Comments");
    std::set<char*> distinct;
    for (const VersionStringField& f : fields) {
        distinct.insert(f.text);
        StoreVersionText(f.text, f.size, std::string(200, 'x'));
        EXPECT_EQ(std::strlen(f.text), f.size - 1) << f.key;
    }
    EXPECT_EQ(distinct.size(), 9u);
    EXPECT_EQ(sizeof record.legalCopyright, 80u);
    EXPECT_EQ(std::strlen(record.legalCopyright), 79u);
    // A short value clears what the field held before.
    StoreVersionText(record.comments, sizeof record.comments, "ab");
    EXPECT_STREQ(record.comments, "ab");
    EXPECT_EQ(record.comments[31], '\0');
    EXPECT_EQ(record.language[0], 0x55) << "fields that were not stored are left alone";
}

} // namespace
