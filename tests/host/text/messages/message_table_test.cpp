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
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

struct PlaceholderCounts {
    int oldProductName;
    int productName; // not counting those inside _OLD_PRODUCT_NAME_
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
        EXPECT_STREQ(TextOf(LanguageTable[i], 13), english)
            << std::hex << LanguageTable[i].languageId;
}

TEST(MessageTable, PlaceholdersAndLineFeedsMatchEnglish) {
    const LanguageRow* english = FindRow(kEnglish);
    for (int i = 0; i < kLanguages; ++i) {
        const LanguageRow& row = LanguageTable[i];
        for (uint32_t number = 0; number < 15; ++number) {
            SCOPED_TRACE(testing::Message()
                         << std::hex << row.languageId << std::dec << " message " << number);
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

} // namespace
