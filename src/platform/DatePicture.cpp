#include "DatePicture.h"

namespace vantorel {
namespace {

std::string literal(char c) {
    return c == '%' ? std::string("%%") : std::string(1, c);
}

}  // namespace

std::string strftimeFromDatePicture(const std::string& picture) {
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        switch (c) {
            case 'd':
                out += run == 1 ? "%#d" : run == 2 ? "%d" : run == 3 ? "%a" : "%A";
                break;
            case 'M':
                out += run == 1 ? "%#m" : run == 2 ? "%m" : run == 3 ? "%b" : "%B";
                break;
            case 'y':
                out += run == 1 ? "%#y" : run == 2 ? "%y" : "%Y";
                break;
            case 'g':
                break;
            case '\'': {
                // Quoted text; two quotes stand for one quote, inside or outside.
                run = 1;
                std::size_t j = i + 1;
                if (j < picture.size() && picture[j] == '\'') {
                    out += '\'';
                    run = 2;
                    break;
                }
                while (j < picture.size()) {
                    if (picture[j] == '\'') {
                        if (j + 1 < picture.size() && picture[j + 1] == '\'') {
                            out += '\'';
                            j += 2;
                            continue;
                        }
                        ++j;
                        break;
                    }
                    out += literal(picture[j++]);
                }
                run = j - i;
                break;
            }
            default:
                for (std::size_t k = 0; k < run; ++k) out += literal(c);
                break;
        }
        i += run;
    }
    return out;
}

}  // namespace vantorel
