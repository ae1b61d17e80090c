#include "ServiceOptions.h"

#include "RequestHeadParser.h"
#include "platform/Failure.h"

namespace vantorel::service {

namespace {

std::size_t parseSize(const std::string& option, const std::string& text, std::size_t least,
                      std::size_t most, const char* mostText) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        throw Failure(option + " wants a number of bytes, got '" + text + "'");
    }
    const unsigned long long value = std::stoull(text);
    if (value > most) throw Failure(option + " is at most " + mostText);
    if (value < least) throw Failure(option + " is at least " + std::to_string(least));
    return static_cast<std::size_t>(value);
}

}  // namespace

const char* ServiceOptions::usage() {
    return "usage: vantorel-service [--listen HOST:PORT] [--catalogue DIR] [--accounts FILE]\n"
           "                        [--log FILE] [--sample-size BYTES] [--max-request-line BYTES]\n"
           "                        [--tls-cert FILE --tls-key FILE]\n"
           "  --listen HOST:PORT   address to serve on (default 127.0.0.1:8741; port 0 picks one)\n"
           "  --catalogue DIR      folder of <NUMBER>.pdf files served besides the samples\n"
           "  --accounts FILE      one login:password a line (default: the account demo:demo)\n"
           "  --log FILE           append the request log there (default: standard error)\n"
           "  --sample-size BYTES  pad generated sample documents to that size\n"
           "  --max-request-line BYTES\n"
           "                       refuse longer request lines with 414 (default and most 65536)\n"
           "  --tls-cert FILE      serve https with this PEM certificate (chain)\n"
           "  --tls-key FILE       and this PEM private key\n";
}

ServiceOptions ServiceOptions::parse(const std::vector<std::string>& arguments) {
    ServiceOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        if (const std::size_t equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        const bool known = name == "--listen" || name == "--catalogue" || name == "--accounts" ||
                           name == "--log" || name == "--sample-size" ||
                           name == "--max-request-line" || name == "--tls-cert" ||
                           name == "--tls-key";
        if (!known) throw Failure("unknown option '" + name + "'");
        if (!hasValue) {
            if (i + 1 >= arguments.size()) throw Failure(name + " needs a value");
            value = arguments[++i];
        }
        if (name == "--listen") options.listen = value;
        if (name == "--catalogue") options.catalogue = value;
        if (name == "--accounts") options.accounts = value;
        if (name == "--log") options.log = value;
        if (name == "--sample-size")
            options.sampleSize = parseSize(name, value, 0, kLargestSample, "1 GiB");
        // Below a few hundred bytes not even a fetch request of one number fits.
        if (name == "--max-request-line")
            options.maxRequestLine =
                parseSize(name, value, 256, RequestHeadParser::kLongestRequestLine, "65536");
        if (name == "--tls-cert") options.tlsCertificate = value;
        if (name == "--tls-key") options.tlsKey = value;
    }
    if (options.tlsCertificate.empty() != options.tlsKey.empty())
        throw Failure("--tls-cert and --tls-key go together");
    return options;
}

}  // namespace vantorel::service
