// Dependencies between the source folders point down the layers: the program entry,
// then the main window, then the subsystems it calls, then the serial library and the
// scenario model, then the class library. Every `#include "area/..."` between two
// folders of src/ must be one of the edges below; a subsystem that needs the main
// window gets a callback instead of its header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// from -> the folders it may include (a folder may always include itself).
const std::map<std::string, std::set<std::string>> kAllowed = {
    {"app", {"editor", "preview", "setup", "programming", "serial", "themes", "scenario", "ui"}},
    {"editor", {"preview", "setup", "programming", "serial", "themes", "scenario", "ui"}},
    {"preview", {"setup", "scenario", "ui"}},
    {"setup", {"programming", "scenario", "ui"}},
    {"programming", {"setup", "serial", "scenario", "ui"}},
    {"themes", {"ui"}},
    {"serial", {"ui"}},
    {"scenario", {"ui"}},
    {"ui", {}},
};

struct Edge {
    std::string file;
    std::string to;
};

// The folder of a line `#include "folder/..."`, or "" for any other line.
std::string IncludedFolder(const std::string& line)
{
    const std::string directive = "#include \"";
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, directive.size(), directive) != 0)
        return std::string();
    start += directive.size();
    size_t slash = line.find('/', start);
    size_t quote = line.find('"', start);
    if (slash == std::string::npos || slash > quote)
        return std::string();
    return line.substr(start, slash - start);
}

std::vector<Edge> IncludeEdges(const fs::path& root)
{
    std::vector<Edge> edges;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h")
            continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            std::string folder = IncludedFolder(line);
            if (!folder.empty())
                edges.push_back({fs::relative(entry.path(), root).generic_string(), folder});
        }
    }
    return edges;
}

TEST(IncludeDirection, EveryIncludeBetweenFoldersPointsDown)
{
    std::vector<Edge> edges = IncludeEdges(PELVOR_SOURCE_DIR);
    ASSERT_GT(edges.size(), 100u) << "the sources were not found under " << PELVOR_SOURCE_DIR;
    for (const Edge& e : edges) {
        std::string from = e.file.substr(0, e.file.find('/'));
        if (from == e.to)
            continue;
        auto allowed = kAllowed.find(from);
        ASSERT_NE(allowed, kAllowed.end()) << "folder src/" << from << " is not in the layer list";
        EXPECT_TRUE(allowed->second.count(e.to))
            << "src/" << e.file << " includes \"" << e.to << "/...\", which is above it";
    }
}

TEST(IncludeDirection, NoSubsystemIncludesTheMainWindow)
{
    for (const Edge& e : IncludeEdges(PELVOR_SOURCE_DIR)) {
        std::string from = e.file.substr(0, e.file.find('/'));
        if (e.to == "editor") {
            EXPECT_TRUE(from == "editor" || from == "app") << "src/" << e.file << " includes the main window";
        }
    }
}

} // namespace
