// Parsing the launcher's command line into SetupCommandLine, and rendering it back.
#include "config/setup_command_line.h"

#include "sys/file_exists.h"
#include "sys/next_token.h"
#include "text/ascii_case.h"
#include "text/internal_error.h"

namespace {
constexpr unsigned kCommandLineLocation = 23;
const char* const kDefaultSetupFileName = "SETUP.INI";

// Property names are ASCII identifiers for the installer; bytes above 127 are left alone so that
// double-byte text is never altered.
std::string UpperAscii(const std::string& text) {
    std::string upper = text;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

// Double quotes can never be part of a Windows file name; on the command line they only group.
std::string WithoutQuotes(const std::string& text) {
    std::string name;
    name.reserve(text.size());
    for (char c : text) {
        if (c != '"') name += c;
    }
    return name;
}

struct UILevelSwitch {
    const char* text; // what follows /q, lower case
    UILevel level;
};
const UILevelSwitch kUILevels[] = {{"", kUILevelSilent},
                                   {"n", kUILevelSilent},
                                   {"n+", kUILevelSilentWithEndBox},
                                   {"b", kUILevelBasic},
                                   {"b+", kUILevelBasicWithEndBox},
                                   {"b-", kUILevelBasicNoModal},
                                   {"r", kUILevelReduced},
                                   {"f", kUILevelFull}};
const char* const kUILevelArgs[] = {"", " /qf", " /qr", " /qb+", " /qb", " /qb-", " /qn+", " /qn"};
} // namespace

// One run over the argument text; handlers answer false to refuse the command line.
class SetupCommandLine::Parser {
  public:
    Parser(SetupCommandLine& line, const std::string& text)
        : line_(line), text_(text), reader_(text) {}

    bool AtEnd() const { return reader_.AtEnd(); }

    bool Run() {
        bool first = true;
        std::string token;
        while (!reader_.AtEnd()) {
            tokenStart_ = reader_.Position();
            Take(token);
            if (token.empty()) continue;
            if (!HandleToken(token, first)) return false;
            first = false;
        }
        return true;
    }

  private:
    // The next token, empty at the end; a quote that never closes ends setup.
    void Take(std::string& token) {
        if (!reader_.Next(token, " ", false))
            ReportInternalError(kCommandLineLocation, InternalErrorCode::Unparsable);
    }

    // The argument of a switch: it must exist and be non-empty.
    bool TakeArgument(std::string& field) {
        std::string argument;
        Take(argument);
        if (argument.empty()) return false;
        field = argument;
        return true;
    }

    bool LoadDefaultSetupData() {
        line_.setupFileName_ = kDefaultSetupFileName;
        return line_.LoadSetupData(line_.setupFileName_);
    }

    bool HandleToken(const std::string& token, bool first) {
        if (token[0] == '/') {
            if (first && !LoadDefaultSetupData()) return false;
            return HandleSwitch(token);
        }
        if (first) return HandleFirstWord(token);
        return HandleProperty(token);
    }

    // A first argument that is not a switch names the setup data file, and one that cannot be
    // loaded ends setup with the load error rather than silently installing from SETUP.INI.
    // Only a property assignment (NAME=value in any spacing) that names no existing file is taken
    // as a property, as the installer itself would.
    bool HandleFirstWord(const std::string& token) {
        const std::string fileName = WithoutQuotes(token);
        if (IsPropertyAssignment(token) && !FileExists(line_.launcherFolder_ + fileName)) {
            if (!LoadDefaultSetupData()) return false;
            return HandleProperty(token);
        }
        line_.setupFileName_ = fileName;
        return line_.LoadSetupData(fileName);
    }

    bool IsPropertyAssignment(const std::string& token) {
        if (token.find('=') != std::string::npos) return true;
        const std::size_t mark = reader_.Position();
        std::string next;
        const bool split = reader_.Next(next, " ", false);
        reader_.Restore(mark);
        return split && !next.empty() && next[0] == '=';
    }

    bool HandleSwitch(const std::string& token) {
        if (token.size() < 2) return false;
        SetupCommandLine& l = line_;
        // Whole words of the installer's own: dispatched on their first letter, /promptrestart
        // would read as a patch switch taking the next argument.
        const std::string word = LowerAscii(token);
        if (word == "/norestart" || word == "/promptrestart") {
            (word == "/norestart" ? l.noRestartSwitch_ : l.promptRestartSwitch_) = true;
            l.passThrough_.push_back(token);
            return true;
        }
        const std::string inlineText = token.substr(2);
        switch (LowerAscii(token[1])) {
        case 'a':
            if (l.advertiseOption_ != 0 ||
                (l.installMode_ != kInstallModeNone && l.installMode_ != kInstallModePatch))
                return false;
            l.installMode_ = l.installMode_ == kInstallModeNone ? kInstallModeAdministrative
                                                                : kInstallModePatchAdministrative;
            return TakeArgument(l.package_);
        case 'f':
            if (l.advertiseOption_ != 0 || l.installMode_ != kInstallModeNone) return false;
            l.installMode_ = kInstallModeRepair;
            l.modeArgument_ = inlineText;
            return TakeArgument(l.package_);
        case 'g':
        case 't':
            if (l.advertiseOption_ != 0 ||
                (l.installMode_ != kInstallModeNone && l.installMode_ != kInstallModeAdvertise))
                return false;
            l.advertiseOption_ = LowerAscii(token[1]) == 'g' ? 1 : 2;
            return TakeArgument(l.advertiseValue_);
        case 'i':
        case 'x':
            if (l.advertiseOption_ != 0 || l.installMode_ != kInstallModeNone) return false;
            l.installMode_ =
                LowerAscii(token[1]) == 'i' ? kInstallModeInstall : kInstallModeUninstall;
            return TakeArgument(l.package_);
        case 'j':
            if (l.installMode_ != kInstallModeNone || l.statusFileRequested_) return false;
            l.installMode_ = kInstallModeAdvertise;
            l.modeArgument_ = inlineText;
            return TakeArgument(l.package_);
        default:
            return HandleOptionSwitch(token, inlineText);
        }
    }

    // The switches after /a, /f, /g, /t, /i, /x and /j: logging, status file, patch, UI level,
    // help and the temporary copy's marker; any other goes on to the installer.
    bool HandleOptionSwitch(const std::string& token, const std::string& inlineText) {
        SetupCommandLine& l = line_;
        switch (LowerAscii(token[1])) {
        case 'l':
            if (l.loggingRequested_) return false;
            l.loggingRequested_ = true;
            l.logOptions_ = inlineText;
            return TakeArgument(l.logFile_);
        case 'm':
            if (l.statusFileRequested_ || l.installMode_ == kInstallModeAdvertise ||
                l.installMode_ > kInstallModeAdministrative)
                return false;
            l.statusFileRequested_ = true;
            return TakeArgument(l.statusFile_);
        case 'p':
            if (l.advertiseOption_ != 0 || l.statusFileRequested_ ||
                (l.installMode_ != kInstallModeNone &&
                 l.installMode_ != kInstallModeAdministrative)) {
                return false;
            }
            l.installMode_ = l.installMode_ == kInstallModeNone ? kInstallModePatch
                                                                : kInstallModePatchAdministrative;
            return TakeArgument(l.modeArgument_);
        case 'q':
            return SetUILevel(inlineText);
        case 'y':
        case 'z':
            return false;
        case '?':
        case 'h':
            return true;
        case '~':
            if (l.tempCopyMarker_ != kTempCopyNone) return false;
            if (inlineText.empty()) {
                l.tempCopyMarker_ = kTempCopyRunning;
            } else if (inlineText == "-") {
                l.tempCopyMarker_ = kTempCopyNotWanted;
            } else {
                return false;
            }
            NoteTempCopySwitch();
            return true;
        default:
            l.passThrough_.push_back(token);
            return true;
        }
    }

    bool SetUILevel(const std::string& inlineText) {
        const std::string level = LowerAscii(inlineText);
        for (const UILevelSwitch& entry : kUILevels) {
            if (level == entry.text) {
                line_.uiLevel_ = entry.level;
                return true;
            }
        }
        return false;
    }

    bool HandleProperty(const std::string& token) {
        std::string name;
        std::string value;
        const std::size_t equals = token.find('=');
        if (equals != std::string::npos) {
            name = UpperAscii(TrimRight(token.substr(0, equals)));
            value = TrimLeft(token.substr(equals + 1));
            if (value.empty()) TakeValue(value);
        } else {
            const std::size_t mark = reader_.Position();
            std::string next;
            Take(next);
            if (next.empty() || next[0] != '=') {
                // A bare word: kept for the installer, and what followed it is handled on its own.
                line_.passThrough_.push_back(token);
                reader_.Restore(mark);
                return true;
            }
            name = UpperAscii(token);
            value = TrimLeft(next.substr(1));
            if (value.empty()) TakeValue(value);
        }
        line_.properties_.push_back(name + "=" + value);

        if (name == "REBOOT") {
            if (line_.rebootPropertySeen_) return false;
            const char initial = value.empty() ? '\0' : LowerAscii(value[0]);
            if (initial != 'f' && initial != 'r' && initial != 's' && value != "\"\"") return false;
            line_.rebootPropertySeen_ = true;
            line_.rebootValue_ = value;
        } else if (name == "REINSTALLMODE") {
            if (line_.installMode_ != kInstallModeNone && line_.installMode_ != kInstallModeInstall)
                return false;
            line_.reinstallMode_ = value;
        }
        return true;
    }

    // A property value from the next token; none left means the value is open at the end.
    void TakeValue(std::string& value) {
        Take(value);
        if (value.empty()) line_.openValueArgument_ = tokenStart_;
    }

    // Where the switch stood, for the restart arguments: from the separator before it (the
    // text's start for a first argument) to the space after it, as a split at spaces sees it.
    void NoteTempCopySwitch() {
        line_.tempCopySwitch_.begin = tokenStart_ == 0 ? 0 : tokenStart_ - 1;
        const std::size_t space = text_.find(' ', reader_.TokenEnd());
        line_.tempCopySwitch_.end = space == std::string::npos ? text_.size() : space;
    }

    SetupCommandLine& line_;
    const std::string& text_;
    TokenReader reader_;
    std::size_t tokenStart_ = 0; // the reader's position before the token being handled
};

SetupCommandLine::SetupCommandLine() {
    Reset();
}

void SetupCommandLine::Reset() {
    setupData_.Reset();
    setupFileName_.clear();
    launcherFolder_.clear();
    installMode_ = kInstallModeNone;
    modeArgument_.clear();
    reinstallMode_.clear();
    package_.clear();
    advertiseOption_ = 0;
    advertiseValue_.clear();
    uiLevel_ = kUILevelNone;
    loggingRequested_ = false;
    logOptions_.clear();
    logFile_.clear();
    statusFileRequested_ = false;
    statusFile_.clear();
    passThrough_.clear();
    properties_.clear();
    tempCopyMarker_ = kTempCopyNone;
    rebootPropertySeen_ = false;
    rebootValue_.clear();
    noRestartSwitch_ = false;
    promptRestartSwitch_ = false;
    tempCopySwitch_ = TextSpan();
    openValueArgument_ = std::string::npos;
}

bool SetupCommandLine::Parse(const char* launcherFolder, const char* arguments) {
    if (!launcherFolder || !arguments) {
        ReportInternalError(kCommandLineLocation, InternalErrorCode::MissingObject);
    }
    return Parse(std::string(launcherFolder), std::string(arguments));
}

bool SetupCommandLine::Parse(const std::string& launcherFolder, const std::string& arguments) {
    if (launcherFolder.empty())
        ReportInternalError(kCommandLineLocation, InternalErrorCode::MissingObject);
    // A NUL cannot come from a real command line; whatever follows it would otherwise be dropped
    // unseen by every C-string consumer downstream.
    if (launcherFolder.find('\0') != std::string::npos ||
        arguments.find('\0') != std::string::npos) {
        ReportInternalError(kCommandLineLocation, InternalErrorCode::Unparsable);
    }
    Reset();
    launcherFolder_ = launcherFolder;

    Parser parser(*this, arguments);
    bool accepted;
    if (parser.AtEnd()) {
        setupFileName_ = kDefaultSetupFileName;
        accepted = LoadSetupData(setupFileName_);
    } else {
        accepted = parser.Run();
    }
    if (!accepted) Reset();
    return accepted;
}

bool SetupCommandLine::LoadSetupData(const std::string& fileName) {
    if (launcherFolder_.empty() || fileName.empty()) {
        ReportInternalError(kCommandLineLocation, InternalErrorCode::MissingObject);
    }
    return setupData_.Load(launcherFolder_, fileName);
}

void SetupCommandLine::AppendInstallModeArgs(std::string& out) const {
    switch (installMode_) {
    case kInstallModeInstall:
        out += " /I " + package_;
        break;
    case kInstallModeRepair:
        out += " /f" + modeArgument_ + " " + package_;
        break;
    case kInstallModeUninstall:
        out += " /x " + package_;
        break;
    case kInstallModeAdvertise:
        out += " /j" + modeArgument_ + " " + package_;
        if (advertiseOption_ == 1) out += " /g " + advertiseValue_;
        if (advertiseOption_ == 2) out += " /t " + advertiseValue_;
        break;
    case kInstallModeAdministrative:
        out += " /a " + package_;
        break;
    case kInstallModePatch:
        out += " /p " + modeArgument_;
        break;
    case kInstallModePatchAdministrative:
        out += " /p " + modeArgument_ + " /a " + package_;
        break;
    default:
        break;
    }
}

void SetupCommandLine::AppendUILevelArg(std::string& out) const {
    if (uiLevel_ > kUILevelNone &&
        uiLevel_ < static_cast<int>(sizeof kUILevelArgs / sizeof kUILevelArgs[0])) {
        out += kUILevelArgs[uiLevel_];
    }
}

void SetupCommandLine::AppendLogArgs(std::string& out) const {
    if (loggingRequested_) out += " /L" + logOptions_ + " " + logFile_;
}

void SetupCommandLine::AppendMifArgs(std::string& out) const {
    if (statusFileRequested_) out += " /m " + statusFile_;
}

void SetupCommandLine::AppendPassThroughArgs(std::string& out) const {
    for (const std::string& entry : passThrough_)
        out += " " + entry;
}

bool SetupCommandLine::IsRebootSuppressed() const {
    const char initial = rebootValue_.empty() ? '\0' : LowerAscii(rebootValue_[0]);
    // As the installer reads its switches: /norestart is REBOOT=ReallySuppress, and /promptrestart
    // without a box to ask in restarts nothing.
    return initial == 'r' || initial == 's' || noRestartSwitch_ ||
           (promptRestartSwitch_ && !CanAskBeforeRestart());
}

void SetupCommandLine::AppendProperties(std::string& out) const {
    for (const std::string& entry : properties_)
        out += " " + entry;
}

void SetupCommandLine::AppendTempCopyMarker(std::string& out) const {
    if (tempCopyMarker_ == kTempCopyRunning) out += " /~";
    if (tempCopyMarker_ == kTempCopyNotWanted) out += " /~-";
}
