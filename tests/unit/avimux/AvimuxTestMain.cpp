// The test binary doubles as the writer process the kill tests start and kill.
#include <gtest/gtest.h>

#include <cstring>

#include "KillableWriter.h"
#include "TestFiles.h"

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], kKillableWriterSwitch) == 0)
        return RunKillableWriter(argv[2], argv[3]);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    RemoveScratchDir();  // once: every suite writes into the same folder
    return result;
}
