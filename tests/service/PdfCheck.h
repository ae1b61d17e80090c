#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace vantorel::test {

inline bool havePdfinfo() {
    return std::system("command -v pdfinfo >/dev/null 2>&1") == 0;
}

// pdfinfo's report on the document, or empty when it refused it or
// complained on its error stream.
inline std::string pdfinfoReport(const std::string& document, const std::string& folder) {
    const std::string path = folder + "/check.pdf";
    std::ofstream(path, std::ios::binary) << document;
    const std::string errors = folder + "/pdfinfo.err";
    FILE* pipe = ::popen(("pdfinfo '" + path + "' 2>'" + errors + "'").c_str(), "r");
    if (!pipe) return "";
    std::string report;
    char block[4096];
    while (std::size_t got = std::fread(block, 1, sizeof block, pipe)) report.append(block, got);
    const int status = ::pclose(pipe);
    std::ifstream complaints(errors);
    std::string complaint;
    std::getline(complaints, complaint);
    if (status != 0 || !complaint.empty()) return "";
    return report;
}

}  // namespace vantorel::test
