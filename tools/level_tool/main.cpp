// brontal-level: inspects and checks level files. Subcommands come from one table.
#include <cstdio>
#include <cstring>

#include "level_commands.h"
#include "sample/sample_command.h"
#ifdef BRONTAL_HAVE_CONVERT
#include "convert/build_command.h"
#endif

namespace brontal {
namespace {

struct Subcommand {
    const char* name;
    const char* arguments;
    const char* summary;
    int (*run)(int argc, char** argv);  // argv[0] is the subcommand's name
};

const Subcommand kSubcommands[] = {
    {"info", "[--json] FILE", "header, counts, and per room, model, animated model and texture what it holds", InfoCommand},
    {"check", "FILE", "exit 0 for a level the game reads, 1 with the reader's message for one it refuses",
     CheckCommand},
    {"chunks", "FILE", "every chunk's offset, id, kind and length", ChunksCommand},
    {"vis", "FILE [-o OUT]", "visible lists against what each room can see; -o writes the computed lists",
     VisCommand},
    {"sample", "DIR", "write the sample level and sky into DIR", SampleCommand},
#ifdef BRONTAL_HAVE_CONVERT
    {"build", "MANIFEST -o FILE|DIR/", "build a level file, or a data directory, from an OBJ or glTF scene and a manifest",
     BuildCommand},
#endif
};

void PrintHelp(std::FILE* out) {
    std::fprintf(out, "usage: brontal-level SUBCOMMAND ARGUMENTS\n\nsubcommands:\n");
    for (const Subcommand& sub : kSubcommands) {
        std::fprintf(out, "  %-7s %-22s %s\n", sub.name, sub.arguments, sub.summary);
    }
}

}  // namespace
}  // namespace brontal

int main(int argc, char** argv) {
    using namespace brontal;
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "help") == 0) {
        PrintHelp(stdout);
        return 0;
    }
    for (const Subcommand& sub : kSubcommands) {
        if (std::strcmp(argv[1], sub.name) == 0) return sub.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "brontal-level: unknown subcommand \"%s\"\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
