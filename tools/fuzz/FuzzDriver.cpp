// A small coverage-guided mutation fuzzer for entry points in the LLVMFuzzerTestOneInput
// style, built with g++: its sanitizers and -fsanitize-coverage=trace-pc give the crash
// reports and the edges. Debian's clang cannot build this code (its libstdc++ headers),
// so libFuzzer is not an option.
//
//   fuzz-TARGET [--seconds N] [--max-len BYTES] [--timeout SECONDS] [--artifacts DIR]
//               [--dict FILE] [--keep DIR] CORPUS_DIR...
//                                                mutate the corpus for N seconds; inputs
//                                                that reach new edges go to DIR
//   fuzz-TARGET FILE...                          run each file once (to reproduce)

#include <sanitizer/common_interface_defs.h>

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

#define NO_COVERAGE __attribute__((no_sanitize_coverage))

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t mapSize = 1 << 16;
std::uint8_t edges[mapSize];  // this run's edges
std::uint8_t seen[mapSize];   // every edge any run reached
thread_local std::uintptr_t previous = 0;

// The input being run, for the crash and hang reports.
const Bytes* running = nullptr;
std::string artifacts = ".";

NO_COVERAGE std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

NO_COVERAGE std::uint64_t fingerprint(const Bytes& bytes) {
    std::uint64_t hash = 1469598103934665603ull;
    for (std::uint8_t byte : bytes)
        hash = (hash ^ byte) * 1099511628211ull;
    return hash;
}

NO_COVERAGE void save(const char* kind) {
    if (!running)
        return;
    const std::string path = artifacts + "/" + kind + "-" + hex(fingerprint(*running));
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        if (!running->empty())
            std::fwrite(running->data(), 1, running->size(), file);
        std::fclose(file);
        std::fprintf(stderr, "fuzz: %s input written to %s\n", kind, path.c_str());
    }
}

NO_COVERAGE void onDeath() { save("crash"); }

// A target's own check failed (std::abort), or the sanitizer aborts after its report.
NO_COVERAGE void onAbort(int signal) {
    save("crash");
    running = nullptr;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

NO_COVERAGE void onHang(int) {
    save("timeout");
    std::fprintf(stderr, "fuzz: an input ran past the time limit\n");
    std::_Exit(70);
}

NO_COVERAGE void runOne(const Bytes& input, int timeoutSeconds) {
    running = &input;
    std::memset(edges, 0, sizeof edges);
    previous = 0;
    itimerval limit{};
    limit.it_value.tv_sec = timeoutSeconds;
    setitimer(ITIMER_REAL, &limit, nullptr);
    LLVMFuzzerTestOneInput(input.data(), input.size());
    limit.it_value.tv_sec = 0;
    setitimer(ITIMER_REAL, &limit, nullptr);
    running = nullptr;
}

// New edges of the last run become seen; true when there were any.
NO_COVERAGE bool tookNewEdges() {
    bool fresh = false;
    for (std::size_t i = 0; i < mapSize; ++i)
        if (edges[i] && !seen[i]) {
            seen[i] = 1;
            fresh = true;
        }
    return fresh;
}

NO_COVERAGE Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

NO_COVERAGE std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> files;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string path = folder + "/" + entry->d_name;
            struct stat info{};
            if (entry->d_name[0] != '.' && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
                files.push_back(path);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Tokens, one a line; "\xNN" stands for a byte.
NO_COVERAGE std::vector<Bytes> readDictionary(const std::string& path) {
    std::vector<Bytes> tokens;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        Bytes token;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '\\' && i + 3 < line.size() && line[i + 1] == 'x') {
                token.push_back(static_cast<std::uint8_t>(std::stoi(line.substr(i + 2, 2), nullptr, 16)));
                i += 3;
            } else {
                token.push_back(static_cast<std::uint8_t>(line[i]));
            }
        }
        tokens.push_back(token);
    }
    return tokens;
}

class Mutator {
public:
    Mutator(std::size_t maxLength, std::vector<Bytes> dictionary)
        : maxLength_(maxLength), dictionary_(std::move(dictionary)), random_(std::random_device{}()) {}

    NO_COVERAGE Bytes mutate(const Bytes& base, const std::vector<Bytes>& corpus) {
        Bytes out = base;
        const int rounds = 1 + static_cast<int>(below(8));
        for (int i = 0; i < rounds; ++i)
            once(out, corpus);
        if (out.size() > maxLength_)
            out.resize(maxLength_);
        return out;
    }

private:
    NO_COVERAGE std::size_t below(std::size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

    NO_COVERAGE void once(Bytes& out, const std::vector<Bytes>& corpus) {
        static const std::uint8_t interesting[] = {0, 1, 0x7f, 0x80, 0xff, 0x20, 0x0a, 0x0d, 0x30, 0x39, 0x25, 0x2f};
        switch (below(10)) {
        case 0:  // flip a bit
            if (!out.empty())
                out[below(out.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            break;
        case 1:  // any byte
            if (!out.empty())
                out[below(out.size())] = static_cast<std::uint8_t>(below(256));
            break;
        case 2:  // a byte that matters to parsers
            if (!out.empty())
                out[below(out.size())] = interesting[below(sizeof interesting)];
            break;
        case 3: {  // insert random bytes
            const std::size_t at = below(out.size() + 1);
            const std::size_t count = 1 + below(16);
            Bytes fresh(count);
            for (auto& byte : fresh)
                byte = static_cast<std::uint8_t>(below(256));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(), fresh.end());
            break;
        }
        case 4: {  // delete a range
            if (out.size() < 2)
                break;
            const std::size_t at = below(out.size());
            const std::size_t count = 1 + below(std::min<std::size_t>(out.size() - at, 64));
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(at), out.begin() + static_cast<std::ptrdiff_t>(at + count));
            break;
        }
        case 5: {  // repeat a range
            if (out.empty())
                break;
            const std::size_t at = below(out.size());
            const std::size_t count = 1 + below(std::min<std::size_t>(out.size() - at, 64));
            const Bytes part(out.begin() + static_cast<std::ptrdiff_t>(at), out.begin() + static_cast<std::ptrdiff_t>(at + count));
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(below(out.size() + 1)), part.begin(), part.end());
            break;
        }
        case 6: {  // splice with another input
            const Bytes& other = corpus[below(corpus.size())];
            if (other.empty())
                break;
            const std::size_t from = below(other.size());
            const std::size_t cut = below(out.size() + 1);
            out.resize(cut);
            out.insert(out.end(), other.begin() + static_cast<std::ptrdiff_t>(from), other.end());
            break;
        }
        case 7: {  // a number in text, larger or stranger
            static const char* const numbers[] = {"0", "-1", "65535", "99999", "2147483648", "1e308", "NaN", "16384"};
            const std::string number = numbers[below(std::size(numbers))];
            const std::size_t at = below(out.size() + 1);
            out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), number.begin(), number.end());
            break;
        }
        default:  // a token of the format
            if (!dictionary_.empty()) {
                const Bytes& token = dictionary_[below(dictionary_.size())];
                const std::size_t at = below(out.size() + 1);
                out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), token.begin(), token.end());
            } else if (!out.empty()) {
                out[below(out.size())] = static_cast<std::uint8_t>(below(256));
            }
            break;
        }
    }

    std::size_t maxLength_;
    std::vector<Bytes> dictionary_;
    std::mt19937_64 random_;
};

}  // namespace

extern "C" NO_COVERAGE void __sanitizer_cov_trace_pc() {
    const auto pc = reinterpret_cast<std::uintptr_t>(__builtin_return_address(0));
    const std::uintptr_t edge = (pc ^ previous) * 0x9E3779B97F4A7C15ull;
    edges[(edge >> 48) & (mapSize - 1)] = 1;
    previous = pc >> 1;
}

NO_COVERAGE int main(int argc, char** argv) {
    double seconds = 60;
    std::size_t maxLength = 64 * 1024;
    int timeout = 20;
    std::string dictionary;
    std::string keep;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : std::string(); };
        if (argument == "--seconds")
            seconds = std::atof(next().c_str());
        else if (argument == "--max-len")
            maxLength = static_cast<std::size_t>(std::atol(next().c_str()));
        else if (argument == "--timeout")
            timeout = std::atoi(next().c_str());
        else if (argument == "--artifacts")
            artifacts = next();
        else if (argument == "--dict")
            dictionary = next();
        else if (argument == "--keep")
            keep = next();
        else {
            struct stat info{};
            if (stat(argument.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                folders.push_back(argument);
            else
                files.push_back(argument);
        }
    }
    __sanitizer_set_death_callback(onDeath);
    signal(SIGALRM, onHang);
    signal(SIGABRT, onAbort);

    if (!files.empty()) {
        for (const std::string& file : files) {
            const Bytes input = readFile(file);
            runOne(input, timeout);
            std::fprintf(stderr, "fuzz: %s ran to its end\n", file.c_str());
        }
        return 0;
    }

    std::vector<Bytes> corpus;
    for (const std::string& folder : folders)
        for (const std::string& file : filesIn(folder))
            corpus.push_back(readFile(file));
    if (corpus.empty())
        corpus.push_back({});
    const std::size_t seeds = corpus.size();
    for (const Bytes& seed : corpus) {
        runOne(seed, timeout);
        tookNewEdges();
    }

    Mutator mutator(maxLength, dictionary.empty() ? std::vector<Bytes>{} : readDictionary(dictionary));
    std::mt19937_64 pick(std::random_device{}());
    const auto start = std::chrono::steady_clock::now();
    const auto end = start + std::chrono::duration<double>(seconds);
    std::uint64_t executions = seeds;
    while (std::chrono::steady_clock::now() < end) {
        const Bytes& base = corpus[std::uniform_int_distribution<std::size_t>(0, corpus.size() - 1)(pick)];
        Bytes input = mutator.mutate(base, corpus);
        runOne(input, timeout);
        ++executions;
        if (tookNewEdges()) {
            if (!keep.empty())
                if (FILE* file = std::fopen((keep + "/" + hex(fingerprint(input))).c_str(), "wb")) {
                    if (!input.empty())
                        std::fwrite(input.data(), 1, input.size(), file);
                    std::fclose(file);
                }
            corpus.push_back(std::move(input));
        }
    }
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::size_t covered = 0;
    for (std::uint8_t edge : seen)
        covered += edge;
    std::printf("fuzz: %llu executions in %.0f s (%.0f/s), corpus %zu (%zu seeds), %zu edges, no crash\n",
                static_cast<unsigned long long>(executions), took, static_cast<double>(executions) / std::max(took, 0.001),
                corpus.size(), seeds, covered);
    return 0;
}
