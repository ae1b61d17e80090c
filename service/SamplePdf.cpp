#include "SamplePdf.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace vantorel::service {

namespace {

// Text inside a PDF literal string: the three bytes with a meaning there are
// escaped; callers only pass printable text.
std::string literal(std::string_view text) {
    std::string out = "(";
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + ")";
}

std::string textLine(int size, int x, int y, std::string_view text) {
    return "BT /F1 " + std::to_string(size) + " Tf " + std::to_string(x) + " " + std::to_string(y) +
           " Td " + literal(text) + " Tj ET\n";
}

std::string pageContent(std::string_view number, int page) {
    const std::string pageText = std::string(number) + " - page " + std::to_string(page) + " of " +
                                 std::to_string(SamplePdf::kPageCount);
    std::string content;
    if (page == 1) {
        content += textLine(36, 72, 700, number);
        content +=
            textLine(14, 72, 660, "Sample document of the Vantorel reference patent service");
        content += textLine(12, 72, 630, "Patent number: " + std::string(number));
    } else {
        content += textLine(18, 72, 720, number);
        content += textLine(12, 72, 690, "Continuation sheet " + std::to_string(page));
    }
    content += textLine(10, 72, 48, pageText);
    return content;
}

// Bytes that do not compress, so a benchmark moves what it asks for: one
// pseudo-random block, longer than a deflate window, repeated.
const std::string& fillerBlock() {
    static const std::string block = [] {
        std::string bytes(65536, '\0');
        std::uint32_t state = 0x9E3779B9u;
        for (char& c : bytes) {
            state = state * 1664525u + 1013904223u;
            c = static_cast<char>(state >> 24);
        }
        return bytes;
    }();
    return block;
}

// Writes objects and the cross-reference table. In layout mode the filler's
// bytes are only counted, so a size can be found without building it.
class PdfWriter {
public:
    PdfWriter(bool layoutOnly, std::size_t reserve) : layoutOnly_(layoutOnly) {
        if (!layoutOnly) out_.reserve(reserve);
        out_ = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    }

    void object(const std::string& body) {
        begin();
        out_ += body;
        end();
    }
    void stream(const std::string& data) {
        begin();
        out_ += "<< /Length " + std::to_string(data.size()) + " >>\nstream\n";
        out_ += data;
        out_ += "\nendstream";
        end();
    }
    void fillerStream(std::size_t length) {
        begin();
        out_ += "<< /Length " + std::to_string(length) + " >>\nstream\n";
        if (layoutOnly_) {
            counted_ += length;
        } else {
            const std::string& block = fillerBlock();
            for (std::size_t left = length; left > 0;) {
                const std::size_t piece = std::min(left, block.size());
                out_.append(block, 0, piece);
                left -= piece;
            }
        }
        out_ += "\nendstream";
        end();
    }
    // The whole document; in layout mode only its size() is meaningful.
    std::string finish(int root, int info) {
        const std::size_t xref = size();
        out_ += "xref\n0 " + std::to_string(offsets_.size() + 1) + "\n";
        out_ += "0000000000 65535 f \n";
        char entry[32];
        for (std::size_t offset : offsets_) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
            out_ += entry;
        }
        out_ += "trailer\n<< /Size " + std::to_string(offsets_.size() + 1) + " /Root " +
                std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\n";
        out_ += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
        return std::move(out_);
    }
    std::size_t size() const { return out_.size() + counted_; }

private:
    void begin() {
        offsets_.push_back(size());
        out_ += std::to_string(offsets_.size()) + " 0 obj\n";
    }
    void end() { out_ += "\nendobj\n"; }

    bool layoutOnly_;
    std::string out_;
    std::size_t counted_ = 0;
    std::vector<std::size_t> offsets_;
};

// Object numbers: 1 catalog, 2 page tree, 3 font, 4 info, then one page and
// one content stream per page, then the optional filler.
void writeDocument(PdfWriter& pdf, std::string_view number, std::size_t fillerLength) {
    const int firstPage = 5;
    pdf.object("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int page = 0; page < SamplePdf::kPageCount; ++page) {
        kids += std::to_string(firstPage + 2 * page) + " 0 R ";
    }
    pdf.object("<< /Type /Pages /Kids [ " + kids + "] /Count " +
               std::to_string(SamplePdf::kPageCount) + " >>");
    pdf.object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    pdf.object("<< /Title " + literal(number) +
               " /Producer (vantorel-service) /Subject (Patent document sample) >>");
    for (int page = 0; page < SamplePdf::kPageCount; ++page) {
        const int contents = firstPage + 2 * page + 1;
        pdf.object(
            "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << "
            "/F1 3 0 R >> >> /Contents " +
            std::to_string(contents) + " 0 R >>");
        pdf.stream(pageContent(number, page + 1));
    }
    if (fillerLength > 0) pdf.fillerStream(fillerLength);
}

}  // namespace

std::size_t SamplePdf::sizeWith(std::string_view number, std::size_t fillerLength) {
    PdfWriter pdf(true, 0);
    writeDocument(pdf, number, fillerLength);
    return pdf.finish(1, 4).size() + fillerLength;
}

std::string SamplePdf::generate(std::string_view number, std::size_t minimumSize) {
    std::size_t fillerLength = 0;
    const std::size_t natural = sizeWith(number, 0);
    if (minimumSize > natural) {
        // The size grows with the filler by its length plus the widths of
        // its length field and of the final offset; a few cheap layouts
        // settle the length that hits the size (or the nearest below it
        // where a width step makes it unreachable).
        fillerLength = std::max<std::size_t>(1, minimumSize - natural);
        for (int round = 0; round < 8; ++round) {
            const std::size_t size = sizeWith(number, fillerLength);
            if (size == minimumSize) break;
            if (size > minimumSize) {
                const std::size_t over = size - minimumSize;
                if (over >= fillerLength) break;
                fillerLength -= over;
            } else {
                fillerLength += minimumSize - size;
            }
        }
    }
    PdfWriter pdf(false, minimumSize + 64);
    writeDocument(pdf, number, fillerLength);
    return pdf.finish(1, 4);
}

}  // namespace vantorel::service
