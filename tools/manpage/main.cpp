// Writes the manual page skyrings(6): skyrings_manpage OUTPUT DATE.

#include <fstream>
#include <iostream>

#include "tools/manpage/ManualPage.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "Usage: skyrings_manpage OUTPUT DATE\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    out << tools::ManualPage::render(argv[2]);
    out.close();
    if (!out) {
        std::cerr << "Cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
