// Writes its current folder and argument count to the file named by QV_STUB_RECORD.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char**)
{
    const char* record = std::getenv("QV_STUB_RECORD");
    if (!record)
        return 1;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return 1;
    FILE* f = std::fopen(record, "w");
    if (!f)
        return 1;
    std::fprintf(f, "%s\n%d\n", cwd, argc - 1);
    std::fclose(f);
    return 0;
}
