// CVFXVersionInfo::Read against files with known version resources, and the
// thread locale the reader holds while it exists.
#include <gtest/gtest.h>

#include <string>

#include "test_files.h"
#include "vfx_version_info.h"

namespace {

const DWORD kUnicode = 0x04B0;
const DWORD kWestern = 1252;
const WORD kEnglishUS = 0x0409;
const WORD kGerman = 0x0407;
const WORD kFrench = 0x040C;
// A language id the system knows nothing of.
const WORD kUninstalled = 0x04FF;

void ExpectWords(const WORD (&actual)[4], WORD w0, WORD w1, WORD w2, WORD w3) {
    EXPECT_EQ(w0, actual[0]);
    EXPECT_EQ(w1, actual[1]);
    EXPECT_EQ(w2, actual[2]);
    EXPECT_EQ(w3, actual[3]);
}

void ExpectNoStrings(const CVFXVersionRecord& record) {
    const CString* strings[] = {&record.FileVersion,      &record.ProductVersion, &record.CompanyName,
                                &record.FileDescription,  &record.InternalName,   &record.LegalCopyright,
                                &record.OriginalFilename, &record.ProductName,    &record.Comments,
                                &record.LegalTrademarks,  &record.PrivateBuild,   &record.SpecialBuild};
    for (const CString* text : strings) EXPECT_STREQ("", *text);
}

class VersionReader : public testing::Test {
protected:
    ThreadLocaleGuard localeGuard;
};

void ExpectOwnFile(const CVFXVersionRecord& record) {
    EXPECT_EQ(OwnPath(), record.fileName.GetString());
    ExpectWords(record.fileVersion, 4, 3, 2, 1);
    ExpectWords(record.productVersion, 9, 8, 7, 6);
    EXPECT_STREQ("4, 3, 2, 1", record.FileVersion);
    EXPECT_STREQ("9, 8, 7, 6", record.ProductVersion);
    EXPECT_STREQ("Version reader tests", record.FileDescription);
    EXPECT_STREQ("versioninfo_tests.exe", record.OriginalFilename);
    EXPECT_STREQ("", record.CompanyName);
}

TEST_F(VersionReader, NullNameReadsTheProgramsOwnFile) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, nullptr));
    ExpectOwnFile(record);
}

TEST_F(VersionReader, NoNameReadsTheProgramsOwnFile) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record));
    ExpectOwnFile(record);
}

TEST_F(VersionReader, BlankNameReadsTheProgramsOwnFile) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, " \t  \r\n "));
    ExpectOwnFile(record);
}

TEST_F(VersionReader, FullRecord) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    const std::string path = FixturePath("vi_full.dll");
    ASSERT_TRUE(reader.Read(record, path.c_str()));
    EXPECT_EQ(path, record.fileName.GetString());
    ExpectWords(record.fileVersion, 1, 513, 65535, 4);
    ExpectWords(record.productVersion, 65534, 7, 0, 300);
    EXPECT_STREQ("1, 513, 65535, 4", record.FileVersion);
    EXPECT_STREQ("65534, 7, 0, 300", record.ProductVersion);
    EXPECT_STREQ("Full Company", record.CompanyName);
    EXPECT_STREQ("Full description", record.FileDescription);
    EXPECT_STREQ("vi_full", record.InternalName);
    EXPECT_STREQ("Copyright Full", record.LegalCopyright);
    EXPECT_STREQ("vi_full.dll", record.OriginalFilename);
    EXPECT_STREQ("Full Product", record.ProductName);
    EXPECT_STREQ("Full comments", record.Comments);
    EXPECT_STREQ("Full trademarks", record.LegalTrademarks);
    EXPECT_STREQ("Full private build", record.PrivateBuild);
    EXPECT_STREQ("Full special build", record.SpecialBuild);
}

TEST_F(VersionReader, SummaryOfAFileRead) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    const std::string path = FixturePath("vi_full.dll");
    ASSERT_TRUE(reader.Read(record, path.c_str()));
    const std::string expected = "VS_VERSION_INFO for " + path +
                                 ":\n"
                                 "\n"
                                 "FileVersion: 1, 513, 65535, 4\n"
                                 "ProductVersion: 65534, 7, 0, 300\n"
                                 "CompanyName: Full Company\n"
                                 "FileDescription: Full description\n"
                                 "InternalName: vi_full\n"
                                 "LegalCopyright: Copyright Full\n"
                                 "OriginalFileName: vi_full.dll\n"
                                 "ProductName: Full Product\n"
                                 "Comments Full comments\n"
                                 "LegalTradeMarks: Full trademarks\n"
                                 "PrivateBuild: Full private build\n"
                                 "SpecialBuild: Full special build\n";
    EXPECT_EQ(expected, record.GetSummary().GetString());
}

TEST_F(VersionReader, AssignedRecordSummarisesTheSame) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, FixturePath("vi_full.dll").c_str()));
    CVFXVersionRecord copy;
    copy.Assign(record);
    EXPECT_STREQ(record.GetSummary(), copy.GetSummary());
    ExpectWords(copy.fileVersion, 1, 513, 65535, 4);
    ExpectWords(copy.productVersion, 65534, 7, 0, 300);
}

TEST_F(VersionReader, NameWithSurroundingBlanks) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    const std::string path = FixturePath("vi_full.dll");
    const std::string blanked = " \t  " + path + " \t\r\n ";
    ASSERT_TRUE(reader.Read(record, blanked.c_str()));
    EXPECT_EQ(path, record.fileName.GetString());
    EXPECT_STREQ("Full Product", record.ProductName);
}

TEST_F(VersionReader, MissingFile) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, FixturePath("vi_full.dll").c_str()));
    EXPECT_FALSE(reader.Read(record, FixturePath("vi_does_not_exist.dll").c_str()));
    EXPECT_TRUE(record.IsEmpty());
}

TEST_F(VersionReader, FileWithoutAVersionResource) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    record.Comments = "left over";
    EXPECT_FALSE(reader.Read(record, FixturePath("vi_no_version.dll").c_str()));
    EXPECT_TRUE(record.IsEmpty());
    EXPECT_STREQ("No version information is available", record.GetSummary());
}

TEST_F(VersionReader, FolderIsNoFileToRead) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    std::string folder = OwnPath();
    folder.erase(folder.find_last_of('\\'));
    EXPECT_FALSE(reader.Read(record, folder.c_str()));
    EXPECT_TRUE(record.IsEmpty());
}

// The root of this resource has no fixed file information at all; taking the
// bytes after it as one would read past the resource.
TEST_F(VersionReader, ResourceWithoutFixedInformation) {
    const std::string path = FixturePath("vi_no_fixed_info.dll");
    ASSERT_FALSE(LoadVersionResource(path).empty()) << "the fixture must carry a version resource";
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    EXPECT_FALSE(reader.Read(record, path.c_str()));
    EXPECT_TRUE(record.IsEmpty());
}

TEST_F(VersionReader, LongValuesAreCutTo255Characters) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, FixturePath("vi_long_values.dll").c_str()));
    std::string digits;
    for (int i = 0; i < 30; ++i) digits += "0123456789";
    std::string letters;
    for (int i = 0; i < 10; ++i) letters += "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    EXPECT_EQ(digits.substr(0, 255), record.Comments.GetString());
    EXPECT_EQ(letters.substr(0, 255), record.PrivateBuild.GetString());
    EXPECT_EQ(letters.substr(0, 255), record.SpecialBuild.GetString());
    EXPECT_STREQ("6, 0, 0, 1", record.ProductVersion);
}

TEST_F(VersionReader, StringsUnderAnotherTranslationStayEmpty) {
    CVFXVersionInfo reader(kUnicode, kEnglishUS);
    CVFXVersionRecord record;
    const std::string path = FixturePath("vi_translations.dll");
    ASSERT_TRUE(reader.Read(record, path.c_str()));
    EXPECT_EQ(path, record.fileName.GetString());
    ExpectWords(record.fileVersion, 3, 1, 4, 1);
    ExpectWords(record.productVersion, 2, 7, 1, 8);
    ExpectNoStrings(record);
    EXPECT_FALSE(record.IsEmpty());
}

TEST_F(VersionReader, TheReadersLanguageSelectsTheTable) {
    CVFXVersionInfo reader(kUnicode, kGerman);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, FixturePath("vi_translations.dll").c_str()));
    EXPECT_STREQ("German Unicode", record.ProductName);
    EXPECT_STREQ("de-1200", record.FileVersion);
}

TEST_F(VersionReader, TheReadersCodePageSelectsTheTable) {
    CVFXVersionInfo reader(kWestern, kEnglishUS);
    CVFXVersionRecord record;
    ASSERT_TRUE(reader.Read(record, FixturePath("vi_translations.dll").c_str()));
    EXPECT_STREQ("English Western", record.ProductName);
    EXPECT_STREQ("en-1252", record.FileVersion);
}

TEST_F(VersionReader, LocaleIsAppliedForTheReadersLifeAndThenRestored) {
    ASSERT_TRUE(::IsValidLocale(kGerman, LCID_INSTALLED));
    ASSERT_TRUE(::SetThreadLocale(kGerman));
    {
        CVFXVersionInfo reader(kUnicode, kEnglishUS);
        EXPECT_EQ(static_cast<LCID>(kEnglishUS), ::GetThreadLocale());
        CVFXVersionRecord record;
        ASSERT_TRUE(reader.Read(record, FixturePath("vi_full.dll").c_str()));
        EXPECT_EQ(static_cast<LCID>(kEnglishUS), ::GetThreadLocale());
    }
    EXPECT_EQ(static_cast<LCID>(kGerman), ::GetThreadLocale());
}

TEST_F(VersionReader, AnyInstalledLanguageBecomesTheLocale) {
    ASSERT_TRUE(::IsValidLocale(kFrench, LCID_INSTALLED));
    ASSERT_TRUE(::SetThreadLocale(kEnglishUS));
    {
        CVFXVersionInfo reader(kUnicode, kFrench);
        EXPECT_EQ(static_cast<LCID>(kFrench), ::GetThreadLocale());
    }
    EXPECT_EQ(static_cast<LCID>(kEnglishUS), ::GetThreadLocale());
}

TEST_F(VersionReader, UninstalledLanguageLeavesTheLocaleButNamesTheStrings) {
    ASSERT_FALSE(::IsValidLocale(kUninstalled, LCID_INSTALLED));
    ASSERT_TRUE(::SetThreadLocale(kFrench));
    {
        CVFXVersionInfo reader(kUnicode, kUninstalled);
        EXPECT_EQ(static_cast<LCID>(kFrench), ::GetThreadLocale());
        CVFXVersionRecord record;
        ASSERT_TRUE(reader.Read(record, FixturePath("vi_translations.dll").c_str()));
        EXPECT_STREQ("Uninstalled language", record.ProductName);
        EXPECT_STREQ("ff-1200", record.FileVersion);
        EXPECT_EQ(static_cast<LCID>(kFrench), ::GetThreadLocale());
    }
    EXPECT_EQ(static_cast<LCID>(kFrench), ::GetThreadLocale());
}

// Readers made one inside another give each locale back in turn.
TEST_F(VersionReader, NestedReadersRestoreInTurn) {
    ASSERT_TRUE(::SetThreadLocale(kFrench));
    {
        CVFXVersionInfo outer(kUnicode, kGerman);
        {
            CVFXVersionInfo inner(kUnicode, kEnglishUS);
            EXPECT_EQ(static_cast<LCID>(kEnglishUS), ::GetThreadLocale());
        }
        EXPECT_EQ(static_cast<LCID>(kGerman), ::GetThreadLocale());
    }
    EXPECT_EQ(static_cast<LCID>(kFrench), ::GetThreadLocale());
}

}  // namespace
