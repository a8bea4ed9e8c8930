#include "platform/ui/programline.h"

#include "platform/module/fileversioninfo.h"
#include "platform/module/module.h"

#include <QtCore/QtGlobal>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

#include <unistd.h>

namespace {

constexpr std::size_t c_optionColumn = 26;
constexpr std::size_t c_helpWidth = 79;

// Fills the text's words into lines of at most width characters (a longer word stands alone),
// every line indented (the first one is where the caller stands already); a '\n' in the text
// always breaks.
std::string wrap(const std::string& text, std::size_t width, std::size_t indent = 0)
{
    std::string wrapped;
    std::size_t column = indent;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \n", start), text.size());
        const std::string word = text.substr(start, end - start);
        if (!word.empty()) {
            if (column > indent && column + 1 + word.size() > width) {
                wrapped += "\n" + std::string(indent, ' ');
                column = indent;
            } else if (column > indent) {
                wrapped += ' ';
                ++column;
            }
            wrapped += word;
            column += word.size();
        }
        if (end < text.size() && text[end] == '\n') {
            wrapped += "\n" + std::string(indent, ' ');
            column = indent;
        }
        start = end + 1;
    }
    return wrapped;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The value after a Qt option in the words ("-platform offscreen"), else the variable's.
std::string qtSetting(
    const std::vector<std::string>& words, const char* option, const char* variable)
{
    for (std::size_t i = 0; i + 1 < words.size() && words[i] != "--"; ++i) {
        if (words[i] == option)
            return words[i + 1];
    }
    return environment(variable);
}

// The platform plugin Qt starts: the first of a list ("wayland;xcb"), without its parameters
// ("xcb:nograb"); empty for Qt's default.
std::string platformOf(const std::vector<std::string>& words)
{
    std::string platform = qtSetting(words, "-platform", "QT_QPA_PLATFORM");
    platform = platform.substr(0, platform.find(';'));
    return platform.substr(0, platform.find(':'));
}

// What the window system failed at, for the one line when Qt cannot start its platform.
std::string platformFailure(const std::vector<std::string>& words)
{
    const std::string platform = platformOf(words);
    const std::string display = qtSetting(words, "-display", "DISPLAY");
    const std::string wayland = environment("WAYLAND_DISPLAY");
    if (platform.rfind("wayland", 0) == 0 || (platform.empty() && display.empty()))
        return "the Wayland display '" + (wayland.empty() ? std::string("wayland-0") : wayland)
            + "' cannot be opened";
    if (platform.empty() || platform == "xcb")
        return "the display '" + display + "' cannot be opened";
    return "the window system '" + platform + "' cannot be started";
}

// A message Qt gave while it started, held back until the start has gone well.
struct HeldMessage
{
    QtMsgType type {QtDebugMsg};
    std::string file;
    int line {0};
    std::string function;
    std::string category;
    QString text;
};

// The start of Qt's platform under guard. Qt's message handler is one for the process, so the
// line to print when the platform fails, and the messages held meanwhile, are kept beside it.
struct PlatformGuard
{
    std::string line;
    QtMessageHandler previous {nullptr};
    std::vector<HeldMessage> held;
};
PlatformGuard s_guard;

// During the start every message is held: a program that ends there (its window system failed,
// its command line is wrong) says why in its one line, and the platform plugins' complaints
// that lead up to a failure say nothing more.
void guardMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtFatalMsg) {
        // Qt would abort after its own lines; the program ends with its one line instead.
        [[maybe_unused]] const ssize_t written
            = ::write(STDERR_FILENO, s_guard.line.data(), s_guard.line.size());
        ::_exit(1);
    }
    auto text = [](const char* value) { return std::string(value ? value : ""); };
    s_guard.held.push_back({type, text(context.file), context.line, text(context.function),
        text(context.category), message});
}

// Gives the held messages to the handler that was in place before, as if never held.
void passOn(const std::vector<HeldMessage>& held, QtMessageHandler handler)
{
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(
            message.file.c_str(), message.line, message.function.c_str(), message.category.c_str());
        if (handler != nullptr)
            handler(message.type, context, message.text);
        else
            std::fprintf(
                stderr, "%s\n", qPrintable(qFormatLogMessage(message.type, context, message.text)));
    }
}

} // namespace

CProgramLine::CProgramLine(std::string name, std::vector<std::string> usage, std::string summary,
    std::vector<ZorProgramOption> options)
    : m_name(std::move(name))
    , m_usage(std::move(usage))
    , m_summary(std::move(summary))
    , m_options(std::move(options))
{ }

void CProgramLine::setOperands(int minimum, int maximum, std::string operandName)
{
    m_minOperands = minimum;
    m_maxOperands = maximum;
    m_operandName = std::move(operandName);
}

std::string CProgramLine::helpText() const
{
    std::string text;
    for (std::size_t i = 0; i < m_usage.size(); ++i)
        text += (i == 0 ? "Usage: " : "  or:  ") + m_name + " " + m_usage[i] + "\n";
    text += wrap(m_summary, c_helpWidth) + "\n\nOptions:\n";

    std::vector<ZorProgramOption> shown = m_options;
    shown.push_back({{"--help"}, "", "print this help and exit"});
    shown.push_back({{"--version"}, "", "print the version and exit"});
    for (const ZorProgramOption& option : shown) {
        std::string names = "  ";
        for (std::size_t i = 0; i < option.names.size(); ++i)
            names += (i > 0 ? ", " : "") + option.names[i];
        if (!option.value.empty())
            names += " " + option.value;
        names += names.size() + 2 > c_optionColumn
            ? "\n" + std::string(c_optionColumn, ' ')
            : std::string(c_optionColumn - names.size(), ' ');
        // The help keeps to its column.
        text += names + wrap(option.help, c_helpWidth, c_optionColumn) + "\n";
    }
    if (m_windowProgram) {
        text += "\n"
            + wrap("Qt's own options (-platform NAME, -display DISPLAY, -style NAME and the "
                   "others of every Qt program) are accepted as well.",
                c_helpWidth)
            + "\n";
    }
    if (!m_notes.empty())
        text += "\n" + wrap(m_notes, c_helpWidth) + (m_notes.back() == '\n' ? "" : "\n");
    return text;
}

std::string CProgramLine::versionText(
    const std::string& program, const std::string& file, std::string* error)
{
    auto fail = [&] {
        *error = "the version information of " + file + " cannot be read";
        return std::string();
    };
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0)
        return fail();
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), handle, size, data.data()))
        return fail();

    void* value = nullptr;
    UINT length = 0;
    WORD translation[2] {};
    if (!zorVerQueryValue(data.data(), data.size(), "\\VarFileInfo\\Translation", &value, &length)
        || length < sizeof translation)
        return fail();
    std::memcpy(translation, value, sizeof translation);
    char table[32];
    std::snprintf(
        table, sizeof table, "\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);
    auto text = [&](const char* valueName) {
        const std::string subBlock = table + std::string(valueName);
        if (!zorVerQueryValue(data.data(), data.size(), subBlock.c_str(), &value, &length)
            || length == 0)
            return std::string();
        return std::string(static_cast<const char*>(value), length - 1);
    };
    const std::string productVersion = text("ProductVersion");
    if (productVersion.empty())
        return fail();
    const std::string company = text("CompanyName");
    const std::string copyright = text("LegalCopyright");
    return program + (company.empty() ? "" : " (" + company + ")") + " " + productVersion + "\n"
        + (copyright.empty() ? "" : copyright + "\n");
}

const ZorProgramOption* CProgramLine::find(const std::string& word) const
{
    const std::string wanted = m_ignoreCase ? lower(word) : word;
    for (const ZorProgramOption& option : m_options) {
        for (const std::string& name : option.names) {
            if ((m_ignoreCase ? lower(name) : name) == wanted)
                return &option;
        }
    }
    return nullptr;
}

CProgramLine::eWalk CProgramLine::walk(const std::vector<std::string>& words, bool judgeOptions,
    std::string* error, std::vector<std::string>* operands) const
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || (word[0] != '-' && word[0] != '/')) {
            operands->push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help")
            return eWalk::eHELP;
        if (word == "--version")
            return eWalk::eVERSION;
        const ZorProgramOption* option = find(word);
        if (option == nullptr) {
            if (word[0] == '-' && judgeOptions) {
                *error = "unknown option '" + word + "'";
                return eWalk::eWRONG;
            }
            // A path, or an option of Qt's.
            operands->push_back(word);
            continue;
        }
        if (!option->value.empty()) {
            if (i + 1 >= words.size()) {
                if (!judgeOptions)
                    continue;
                *error = "option '" + word + "' needs a value (" + option->value + ")";
                return eWalk::eWRONG;
            }
            ++i;
        }
    }
    return eWalk::eGOON;
}

std::optional<int> CProgramLine::inform(eWalk walked, std::ostream& out, std::ostream& err) const
{
    if (walked == eWalk::eHELP) {
        out << helpText() << std::flush;
        return out ? 0 : 1;
    }
    if (walked == eWalk::eVERSION) {
        char file[4096];
        std::string error;
        const std::string text = GetModuleFileNameA(nullptr, file, sizeof file) > 0
            ? versionText(m_name, file, &error)
            : std::string();
        if (text.empty()) {
            err << m_name << ": " << (error.empty() ? "the program's file is unknown" : error)
                << "\n";
            return 1;
        }
        out << text << std::flush;
        return out ? 0 : 1;
    }
    return std::nullopt;
}

std::optional<int> CProgramLine::answer(
    const std::vector<std::string>& words, std::ostream& out, std::ostream& err) const
{
    std::string error;
    std::vector<std::string> operands;
    const eWalk walked = walk(words, true, &error, &operands);
    if (walked == eWalk::eWRONG)
        return wrongLine(err, error);
    if (const std::optional<int> status = inform(walked, out, err))
        return status;

    const int count = static_cast<int>(operands.size());
    if (count < m_minOperands)
        return wrongLine(err, "missing " + (m_operandName.empty() ? "operand" : m_operandName));
    if (m_maxOperands >= 0 && count > m_maxOperands)
        return wrongLine(err, "unexpected argument '" + operands[m_maxOperands] + "'");
    if (m_check && !m_check(words, &error))
        return wrongLine(err, error);
    return std::nullopt;
}

std::optional<int> CProgramLine::answer(int argc, char** argv) const
{
    return answer(wordsOf(argc, argv), std::cout, std::cerr);
}

std::optional<int> CProgramLine::answerInformation(
    const std::vector<std::string>& words, std::ostream& out, std::ostream& err) const
{
    std::string error;
    std::vector<std::string> operands;
    return inform(walk(words, false, &error, &operands), out, err);
}

std::optional<int> CProgramLine::checkDisplay(
    const std::vector<std::string>& words, std::ostream& err) const
{
    const std::string platform = platformOf(words);
    const bool x11 = !qtSetting(words, "-display", "DISPLAY").empty();
    const bool wayland = !environment("WAYLAND_DISPLAY").empty();
    std::string missing;
    if (platform.empty() && !x11 && !wayland)
        missing = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    else if (platform == "xcb" && !x11)
        missing = "DISPLAY is not set";
    if (missing.empty())
        return std::nullopt;
    err << m_name << ": cannot open a window: no display (" << missing << ")\n";
    return 1;
}

std::optional<int> CProgramLine::startWindowProgram(
    int& argc, char** argv, const std::function<void()>& make) const
{
    const std::vector<std::string> words = wordsOf(argc, argv);
    if (const std::optional<int> status = answerInformation(words, std::cout, std::cerr))
        return status;
    if (const std::optional<int> status = checkDisplay(words, std::cerr))
        return status;

    std::cout.flush();
    std::cerr.flush();
    s_guard.line = m_name + ": cannot open a window: " + platformFailure(words) + "\n";
    s_guard.previous = qInstallMessageHandler(guardMessages);
    make();
    qInstallMessageHandler(s_guard.previous);
    const PlatformGuard guard = std::exchange(s_guard, {});

    const std::optional<int> status = answer(wordsOf(argc, argv), std::cout, std::cerr);
    if (!status)
        passOn(guard.held, guard.previous);
    return status;
}

int CProgramLine::wrongLine(std::ostream& err, const std::string& what) const
{
    err << m_name << ": " << what << "; try '" << m_name << " --help'\n" << std::flush;
    return 2;
}

std::vector<std::string> CProgramLine::wordsOf(int argc, char** argv)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc && argv[i] != nullptr; ++i)
        words.emplace_back(argv[i]);
    return words;
}
