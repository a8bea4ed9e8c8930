// A monitor that writes status records for one host as fast as it can, for the test that
// kills it in the middle: after each record is committed it writes the record's number and a
// newline to standard output. Arguments: the program directory holding corvane.mdb, the host.

#include "monitor/availability.h"

#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    CMonitorDatabase database;
    if (!database.open(argv[1]))
        return 3;
    for (long n = 1;; ++n) {
        if (!writeStatus(database, argv[2], n % 2 == 0, false))
            return 4;
        const std::string line = std::to_string(n) + "\n";
        if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return 5;
    }
}
