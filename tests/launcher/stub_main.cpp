// Writes its current folder and argument count to the file named by QV_STUB_RECORD. The record
// appears whole (written beside it, then renamed), so the test can read it as soon as it exists.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

int main(int argc, char**)
{
    const char* record = std::getenv("QV_STUB_RECORD");
    if (!record)
        return 1;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return 1;
    const std::string partial = std::string(record) + ".part";
    FILE* f = std::fopen(partial.c_str(), "w");
    if (!f)
        return 1;
    std::fprintf(f, "%s\n%d\n", cwd, argc - 1);
    if (std::fclose(f) != 0)
        return 1;
    return std::rename(partial.c_str(), record) == 0 ? 0 : 1;
}
