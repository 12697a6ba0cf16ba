// Rendering round trip: the installer arguments rendered from a parsed command line parse back to
// the same settings, over a generated set of command lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "config/setup_command_line.h"
#include "sys/setup_result.h"

namespace {

const std::string kLauncher = SETUP_TEST_DATA "/config/launcher/";

class CommandLineGenerator {
  public:
    explicit CommandLineGenerator(unsigned seed) : random_(seed) {}

    // A command line that starts with a switch (so the setup data file is SETUP.INI) and mixes
    // every kind of argument, in random order and letter case, sometimes in refused combinations.
    std::string Next() {
        std::string line =
            Pick({"/qb", "/QN+", "/qr", "/?", "/w", "/qF", "/q", "/qb-", "/~", "/~-"});
        for (int n = Number(0, 8); n > 0; --n)
            line += " " + Piece();
        return line;
    }

  private:
    int Number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::string Pick(const std::vector<std::string>& choices) {
        return choices[static_cast<std::size_t>(Number(0, static_cast<int>(choices.size()) - 1))];
    }
    std::string Path() {
        return Pick({"pkg.msi", "\"C:\\Program Files\\Maker\\pkg.msi\"", "{12345678-ABCD}",
                     "a\"b c\"d.msi", std::string(300, 'p') + ".msi"});
    }
    std::string Value() {
        return Pick({"1", "\"\"", "\"C:\\Program Files\\X\"", "/qn", "a=b", "ReallySuppress",
                     "Force", std::string(280, 'v')});
    }
    std::string Name() {
        return Pick({"TARGETDIR", "foo", "Prop_1", "REBOOT", "reinstallmode", "ADDLOCAL"});
    }

    std::string Piece() {
        switch (Number(0, 9)) {
        case 0:
            return Pick({"/qb", "/QB+", "/qn", "/Q", "/qr", "/qf", "/qn+", "/qb-"});
        case 1:
            return Pick({"/L*v", "/l", "/Lie+"}) + " " + Path();
        case 2:
            return "/m " + Path();
        case 3:
            return Pick({"/i", "/X", "/a", "/p", "/fvomus", "/Jm", "/ju", "/g", "/t"}) + " " +
                   Path();
        case 4:
            return Pick({"/w", "/c123", "/W", "/n"});
        case 5:
            return Pick({"word", "other", "\"two words\""});
        case 6: {
            const std::string name = Name();
            const std::string value = Value();
            switch (Number(0, 3)) {
            case 0:
                return name + "=" + value;
            case 1:
                return name + " =" + value;
            case 2:
                return name + "= " + value;
            default:
                return name + " = " + value;
            }
        }
        case 7:
            return Pick({"/~", "/~-", "/?", "/h"});
        case 8:
            return "REINSTALLMODE=" + Pick({"vomus", "a"});
        default:
            return "REBOOT=" + Pick({"S", "r", "\"\"", "Force"});
        }
    }

    std::mt19937 random_;
};

// The settings that the installer pieces carry, as one comparable text.
std::string Describe(const SetupCommandLine& line) {
    std::string text = "ui " + std::to_string(line.GetUILevel()) + " log " +
                       std::to_string(line.IsLoggingRequested()) + "[" + line.GetLogOptions() +
                       "][" + line.GetLogFile() + "] mif " +
                       std::to_string(line.IsStatusFileRequested()) + "[" + line.GetStatusFile() +
                       "] pass";
    for (const auto& p : line.GetPassThrough())
        text += " [" + p + "]";
    text += " props";
    for (const auto& p : line.GetProperties())
        text += " [" + p + "]";
    return text + " reinstall [" + line.GetReinstallMode() + "]";
}

TEST(CommandLineRoundTrip, RenderedArgumentsParseToTheSameSettings) {
    CommandLineGenerator generator(20240607);
    int accepted = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::string arguments = generator.Next();
        SetupCommandLine original;
        bool parsed = false;
        try {
            parsed = original.Parse(kLauncher, arguments);
        } catch (const SetupError& error) {
            // Only the quotes inside a generated word may fail to balance.
            EXPECT_EQ(0x80040007u, error.code) << arguments;
            continue;
        }
        if (!parsed) continue;
        ++accepted;

        // The pieces an installer command line carries; "/?" first keeps SETUP.INI the data file.
        std::string pieces = "/?";
        original.AppendUILevelArg(pieces);
        original.AppendLogArgs(pieces);
        original.AppendMifArgs(pieces);
        original.AppendPassThroughArgs(pieces);
        original.AppendProperties(pieces);
        SetupCommandLine again;
        ASSERT_TRUE(again.Parse(kLauncher, pieces)) << arguments << "\n -> " << pieces;
        EXPECT_EQ(Describe(original), Describe(again)) << arguments << "\n -> " << pieces;

        std::string mode = "/?";
        original.AppendInstallModeArgs(mode);
        SetupCommandLine modeAgain;
        ASSERT_TRUE(modeAgain.Parse(kLauncher, mode)) << arguments << "\n -> " << mode;
        EXPECT_EQ(original.GetInstallMode(), modeAgain.GetInstallMode()) << arguments;
        EXPECT_EQ(original.GetPackage(), modeAgain.GetPackage()) << arguments;
        EXPECT_EQ(original.GetModeArgument(), modeAgain.GetModeArgument()) << arguments;
        if (original.GetInstallMode() == 4) {
            EXPECT_EQ(original.GetAdvertiseOption(), modeAgain.GetAdvertiseOption()) << arguments;
            EXPECT_EQ(original.GetAdvertiseValue(), modeAgain.GetAdvertiseValue()) << arguments;
        }

        std::string marker = "/?";
        original.AppendTempCopyMarker(marker);
        SetupCommandLine markerAgain;
        ASSERT_TRUE(markerAgain.Parse(kLauncher, marker));
        EXPECT_EQ(original.GetTempCopyMarker(), markerAgain.GetTempCopyMarker()) << arguments;
    }
    // The generator must exercise accepted lines, not only refusals.
    EXPECT_GT(accepted, 400);
}

} // namespace
