// The texts each graph builder reports its shared steps with (see ErrorTexts.h).
#pragma once

struct GraphBuildTexts
{
    const char* createGraph;
    const char* addCamera;
    bool addCameraFailsWithItsStatus;  // else E_FAIL
    const char* createBuilder;
    const char* setGraph;
};
