#pragma once

// The command line of a program, as a Linux user expects it of any program: --help prints how
// to call it, --version prints its version (read from the program's own version block, never
// written into the program), and a wrong command line ends it with one line on standard error
// and the exit status 2. A window program also learns here, before Qt is asked, whether a
// window can be opened at all; when none can, it says so in one line and ends with status 1
// instead of aborting inside Qt.
//
// A program describes its line once (name, usage lines, one sentence of what it does, its
// options) and asks answer() before anything else:
//
//     if (const std::optional<int> status = line.answer(argc, argv))
//         return *status;
//
// Words beginning with "-" are options: those of the table pass (with their value when they
// take one), any other is a wrong option. Words beginning with "/" are never judged here: on
// this system a path begins with "/" as often as a Windows-style switch does, so a program
// with such switches lists them (they then pass with their values) and checks the rest itself.
// "--" ends the options; "-" alone is an operand. --help and --version count where they stand:
// the first of them, an unknown option or a missing value met from the left decides.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// One option of a program: its spellings, the name of its value (empty for a switch) and what
// it does, for the help.
struct ZorProgramOption
{
    std::vector<std::string> names;
    std::string value;
    std::string help;
};

class CProgramLine
{
public:
    // A check of the operands and options the table let through, by the program: false with
    // *error set to the line's fault ("invalid count '0'").
    using Check = std::function<bool(const std::vector<std::string>& words, std::string* error)>;

    // usage: the synopsis lines without the program's name ("[OPTION]... HOST").
    CProgramLine(std::string name, std::vector<std::string> usage, std::string summary,
        std::vector<ZorProgramOption> options = {});

    const std::string& name() const { return m_name; }

    // Option names compare without regard to case (Windows-style switches).
    void setIgnoreCase(bool ignoreCase) { m_ignoreCase = ignoreCase; }
    // How many operands the program takes (max -1: any number); named in the message for
    // too few.
    void setOperands(int minimum, int maximum, std::string operandName = {});
    // Paragraphs printed at the end of the help (exit status, notes).
    void setNotes(std::string notes) { m_notes = std::move(notes); }
    // The program's own check, run after the table's.
    void setCheck(Check check) { m_check = std::move(check); }
    // A window program: Qt takes its own options out of the line before the table is asked,
    // and the help says so.
    void setWindowProgram(bool windowProgram) { m_windowProgram = windowProgram; }

    std::string helpText() const;
    // "<program> (<company>) <product version>" and the copyright line of the version block of
    // the file; empty with *error set when the file has no readable version block.
    static std::string versionText(
        const std::string& program, const std::string& file, std::string* error);

    // --help and --version, the options and the operands, the program's check: the exit status
    // when the program ends here (the text written to out or the one line to err), nullopt to
    // go on.
    std::optional<int> answer(
        const std::vector<std::string>& words, std::ostream& out, std::ostream& err) const;
    std::optional<int> answer(int argc, char** argv) const;

    // --help and --version alone, every other word let through: what a window program asks
    // before Qt has taken its options out.
    std::optional<int> answerInformation(
        const std::vector<std::string>& words, std::ostream& out, std::ostream& err) const;

    // Whether a window can be opened under this environment (and the words' -platform and
    // -display): nullopt when Qt may try; otherwise the one line is written and 1 returned.
    std::optional<int> checkDisplay(const std::vector<std::string>& words, std::ostream& err) const;

    // The start of a window program: answerInformation, checkDisplay, then make() (which
    // constructs the application object; Qt takes its own options out of argc and argv) with a
    // fatal failure of Qt's platform turned into the one line and the exit status 1, and last
    // answer() on the words Qt left. The exit status when the program ends here, nullopt to go
    // on.
    std::optional<int> startWindowProgram(
        int& argc, char** argv, const std::function<void()>& make) const;

    // Writes "<program>: <what>; try '<program> --help'" and returns 2.
    int wrongLine(std::ostream& err, const std::string& what) const;

    // The words after the program's name.
    static std::vector<std::string> wordsOf(int argc, char** argv);

private:
    enum class eWalk { eGOON, eHELP, eVERSION, eWRONG };
    // Reads the words from the left; judgeOptions false lets unknown options and missing
    // values through. operands gets the words that are no options.
    eWalk walk(const std::vector<std::string>& words, bool judgeOptions, std::string* error,
        std::vector<std::string>* operands) const;
    const ZorProgramOption* find(const std::string& word) const;
    std::optional<int> inform(eWalk walked, std::ostream& out, std::ostream& err) const;

    std::string m_name;
    std::vector<std::string> m_usage;
    std::string m_summary;
    std::vector<ZorProgramOption> m_options;
    std::string m_notes;
    std::string m_operandName;
    Check m_check;
    int m_minOperands {0};
    int m_maxOperands {-1};
    bool m_ignoreCase {false};
    bool m_windowProgram {false};
};
