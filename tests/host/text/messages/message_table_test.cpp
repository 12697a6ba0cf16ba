// Checks the built-in message table: rows, numbering, format strings, placeholders and encodings.
#include "text/messages.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kLanguages = 15;
constexpr uint32_t kEnglish = 0x0409;
const uint32_t kStoredOrder[] = {0, 1, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

const LanguageRow* FindRow(uint32_t languageId) {
    for (const LanguageRow* row = LanguageTable; row->languageId != 0; ++row)
        if (row->languageId == languageId) return row;
    return nullptr;
}

// The text of a number in a row, or null when the row lacks it.
const char* TextOf(const LanguageRow& row, uint32_t number) {
    for (const MessageEntry* entry = row.messages; entry->text != nullptr; ++entry)
        if (entry->number == number) return entry->text;
    return nullptr;
}

int CountOf(const std::string& text, const std::string& what) {
    int count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
    return count;
}

struct PlaceholderCounts {
    int oldProductName;
    int productName;  // not counting those inside _OLD_PRODUCT_NAME_
    int productVersion;
    bool operator==(const PlaceholderCounts& o) const {
        return oldProductName == o.oldProductName && productName == o.productName &&
               productVersion == o.productVersion;
    }
};

PlaceholderCounts CountPlaceholders(const std::string& text) {
    int old = CountOf(text, "_OLD_PRODUCT_NAME_");
    return {old, CountOf(text, "_PRODUCT_NAME_") - old, CountOf(text, "_PRODUCT_VERSION_")};
}

// Decodes bytes of a Windows code page to UTF-8; false when a byte sequence is invalid there.
bool DecodeCodePage(uint32_t codePage, const std::string& bytes, std::string& utf8) {
    std::string name = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "no converter for " << name;
        return false;
    }
    std::vector<char> in(bytes.begin(), bytes.end());
    std::vector<char> out(bytes.size() * 4 + 4);
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<size_t>(-1) || inLeft != 0) return false;
    utf8.assign(out.data(), outPtr);
    return true;
}

TEST(LanguageTable, RowsInOrderWithCodePages) {
    const struct {
        uint32_t languageId;
        uint32_t codePage;
    } expected[kLanguages] = {
        {0x0804, 936},  {0x0404, 950},  {0x0406, 1252}, {0x0407, 1252}, {0x0409, 1252},
        {0x080A, 1252}, {0x040B, 1252}, {0x040C, 1252}, {0x0410, 1252}, {0x0411, 932},
        {0x0412, 949},  {0x0413, 1252}, {0x0414, 1252}, {0x0416, 1252}, {0x041D, 1252},
    };
    for (int i = 0; i < kLanguages; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(LanguageTable[i].languageId, expected[i].languageId);
        EXPECT_EQ(LanguageTable[i].codePage, expected[i].codePage);
        EXPECT_NE(LanguageTable[i].messages, nullptr);
    }
    EXPECT_EQ(LanguageTable[kLanguages].languageId, 0u);
    EXPECT_EQ(LanguageTable[kLanguages].codePage, 0u);
    EXPECT_EQ(LanguageTable[kLanguages].messages, nullptr);
}

TEST(MessageTable, EveryRowHoldsAllNumbersInStoredOrder) {
    for (int i = 0; i < kLanguages; ++i) {
        const LanguageRow& row = LanguageTable[i];
        SCOPED_TRACE(testing::Message() << std::hex << row.languageId);
        std::vector<uint32_t> numbers;
        const MessageEntry* entry = row.messages;
        for (; entry->text != nullptr && numbers.size() <= 15; ++entry) {
            numbers.push_back(entry->number);
            EXPECT_NE(entry->text[0], '\0') << "message " << entry->number;
        }
        EXPECT_EQ(numbers, std::vector<uint32_t>(std::begin(kStoredOrder), std::end(kStoredOrder)));
        EXPECT_EQ(entry->number, 0u);
    }
}

TEST(MessageTable, EnglishTextsExact) {
    const char* const expected[] = {
        "Setup",
        "Please wait while setup loads....",
        "Internal Error",
        "Error Code: %04X.%08X",
        "Error",
        "This program does not support the operating system detected.",
        "Warning",
        "Setup cannot find a valid version of this software to upgrade.\nPlease make sure that you "
        "are using the correct upgrade version.\n\n",
        "Setup has detected that the application being installed is running.\nIn order for setup to "
        "continue, the application being installed cannot be running.  Either close the application "
        "and choose YES to continue, or choose NO to exit setup and run Setup again later.",
        "Setup has detected the following incompatible software: \n\n_PRODUCT_NAME_.\n\nIt must be "
        "uninstalled before continuing.\nWould you like to uninstall this now?",
        "Setup has detected a previous installation of _OLD_PRODUCT_NAME_.\n\nTo install "
        "_PRODUCT_NAME_ _PRODUCT_VERSION_, you must first uninstall\nthe existing version of "
        "_OLD_PRODUCT_NAME_.\nWould you like to uninstall _OLD_PRODUCT_NAME_ now?\nChoose Yes to "
        "uninstall _OLD_PRODUCT_NAME_.\nChoose No to exit setup.",
        "Setup has detected the following incompatible software: \n\n_PRODUCT_NAME_.\n\nInstallation "
        "cannot continue.  Please see the README for more information.",
        "This program will not install on Windows NT Server.",
        "Setup requires at least version %s of the Windows Installer to run.\nYou will first need to "
        "download and install the Windows Installer from www.microsoft.com.",
        "You must restart your system for the configuration changes made to _PRODUCT_NAME_ to take "
        "effect. Click Yes to restart now or No if you plan to manually restart later.",
    };
    const LanguageRow* english = FindRow(kEnglish);
    ASSERT_NE(english, nullptr);
    for (uint32_t number = 0; number < 15; ++number) {
        const char* text = TextOf(*english, number);
        ASSERT_NE(text, nullptr) << number;
        EXPECT_STREQ(text, expected[number]) << "message " << number;
    }
}

TEST(MessageTable, TextsSharedBetweenLanguages) {
    const struct {
        uint32_t languageId;
        uint32_t number;
        const char* text;
    } shared[] = {
        {0x0406, 0, "Installation"}, {0x040C, 0, "Installation"}, {0x041D, 0, "Installation"},
        {0x0407, 0, "Setup"},        {0x0413, 0, "Setup"},        {0x080A, 4, "Error"},
        {0x0406, 6, "Advarsel"},     {0x0414, 6, "Advarsel"},     {0x080A, 6, "Aviso"},
        {0x0416, 6, "Aviso"},
    };
    for (const auto& s : shared) {
        const LanguageRow* row = FindRow(s.languageId);
        ASSERT_NE(row, nullptr);
        const char* text = TextOf(*row, s.number);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, s.text) << std::hex << s.languageId << " message " << s.number;
    }
}

// Messages 3 and 13 are printf formats; a stray conversion would read a missing argument.
TEST(MessageTable, FormatConversionsOnlyWhereFormatted) {
    for (int i = 0; i < kLanguages; ++i) {
        const LanguageRow& row = LanguageTable[i];
        SCOPED_TRACE(testing::Message() << std::hex << row.languageId);
        for (uint32_t number = 0; number < 15; ++number) {
            std::string text = TextOf(row, number);
            if (number == 3) {
                EXPECT_EQ(CountOf(text, "%04X.%08X"), 1);
                EXPECT_EQ(CountOf(text, "%"), 2);
                char formatted[260];
                std::snprintf(formatted, sizeof formatted, text.c_str(), 0x2Au, 0x80004003u);
                EXPECT_NE(std::strstr(formatted, "002A.80004003"), nullptr) << formatted;
            } else if (number == 13) {
                EXPECT_EQ(CountOf(text, "%s"), 1);
                EXPECT_EQ(CountOf(text, "%"), 1);
            } else {
                EXPECT_EQ(CountOf(text, "%"), 0) << "message " << number;
            }
        }
    }
}

TEST(MessageTable, EngineDownloadMessageIsEnglishEverywhere) {
    const char* english = TextOf(*FindRow(kEnglish), 13);
    for (int i = 0; i < kLanguages; ++i)
        EXPECT_STREQ(TextOf(LanguageTable[i], 13), english) << std::hex << LanguageTable[i].languageId;
}

TEST(MessageTable, PlaceholdersAndLineFeedsMatchEnglish) {
    const LanguageRow* english = FindRow(kEnglish);
    for (int i = 0; i < kLanguages; ++i) {
        const LanguageRow& row = LanguageTable[i];
        for (uint32_t number = 0; number < 15; ++number) {
            SCOPED_TRACE(testing::Message() << std::hex << row.languageId << std::dec << " message "
                                            << number);
            std::string text = TextOf(row, number);
            std::string reference = TextOf(*english, number);
            EXPECT_TRUE(CountPlaceholders(text) == CountPlaceholders(reference));
            EXPECT_EQ(CountOf(text, "\n"), CountOf(reference, "\n"));
            for (char c : text)
                EXPECT_FALSE(c != '\n' && static_cast<unsigned char>(c) < 0x20)
                    << "control character " << int(c);
        }
    }
    // The texts that name software do name it.
    for (int i = 0; i < kLanguages; ++i) {
        for (uint32_t number : {9u, 11u, 14u})
            EXPECT_GE(CountPlaceholders(TextOf(LanguageTable[i], number)).productName, 1);
        PlaceholderCounts previousVersion = CountPlaceholders(TextOf(LanguageTable[i], 10));
        EXPECT_GE(previousVersion.oldProductName, 1);
        EXPECT_GE(previousVersion.productName, 1);
        EXPECT_GE(previousVersion.productVersion, 1);
    }
}

TEST(MessageTable, FirstMessagesStoredInCodePage) {
    const struct {
        uint32_t languageId;
        const char* message0;
        const char* message1;
    } expected[] = {
        {0x0407, "Setup", "Setup wird geladen. Bitte warten...."},
        {0x0411, "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76",
         "\x83\x5A\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76\x82\xCC\x83\x8D\x81\x5B\x83\x68\x92\x86"
         "\x82\xC5\x82\xB7\x81\x42\x82\xA8\x91\xD2\x82\xBF\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81\x42"},
        {0x0804, "\xB0\xB2\xD7\xB0",
         "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xB0\xB2\xD7\xB0\xB3\xCC\xD0\xF2\xA3\xAC\xC7\xEB\xC9\xD4"
         "\xB5\xC8..."},
    };
    for (const auto& e : expected) {
        const LanguageRow* row = FindRow(e.languageId);
        ASSERT_NE(row, nullptr);
        EXPECT_STREQ(TextOf(*row, 0), e.message0) << std::hex << e.languageId;
        EXPECT_STREQ(TextOf(*row, 1), e.message1) << std::hex << e.languageId;
    }
}

TEST(MessageTable, EveryTextDecodesInItsCodePage) {
    const struct {
        uint32_t languageId;
        const char* message0;
        const char* message1;
    } expected[kLanguages] = {
        {0x0804, "安装", "正在加载安装程序，请稍等..."},
        {0x0404, "安裝程式", "安裝程式載入中，請稍候...."},
        {0x0406, "Installation", "Vent, mens installationen forberedes...."},
        {0x0407, "Setup", "Setup wird geladen. Bitte warten...."},
        {0x0409, "Setup", "Please wait while setup loads...."},
        {0x080A, "Instalación", "Espere mientras se carga el programa de instalación..."},
        {0x040B, "Asennus", "Odota. Asennusohjelmaa ladataan...."},
        {0x040C, "Installation", "Patientez pendant le chargement du programme d'installation...."},
        {0x0410, "Installazione",
         "Attendere. Caricamento del programma di installazione in corso...."},
        {0x0411, "セットアップ", "セットアップのロード中です。お待ちください。"},
        {0x0412, "설치", "설치 프로그램을 로드하는 동안 잠시만 기다리십시오."},
        {0x0413, "Setup", "Een ogenblijk geduld. Setup wordt geladen...."},
        {0x0414, "Installeringsprogram",
         "Vennligst vent mens installeringsprogrammet lastes inn...."},
        {0x0416, "Programa de instalação",
         "Aguarde enquanto o programa de instalação é carregado...."},
        {0x041D, "Installation", "Vänta medan installationsprogrammet läses in...."},
    };
    for (int i = 0; i < kLanguages; ++i) {
        const LanguageRow& row = LanguageTable[i];
        SCOPED_TRACE(testing::Message() << std::hex << row.languageId);
        ASSERT_EQ(row.languageId, expected[i].languageId);
        for (uint32_t number = 0; number < 15; ++number) {
            std::string utf8;
            EXPECT_TRUE(DecodeCodePage(row.codePage, TextOf(row, number), utf8))
                << "message " << number;
            if (number == 0) {
                EXPECT_EQ(utf8, expected[i].message0);
            } else if (number == 1) {
                EXPECT_EQ(utf8, expected[i].message1);
            }
        }
    }
}

}  // namespace
