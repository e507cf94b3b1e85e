// Resource identifiers of the settings page's dialog.
#pragma once

#define IDD_VCAM_SCENE_PAGE        3100
#define IDC_VCAM_STAR_DENSITY      3101
#define IDC_VCAM_BRIGHTNESS        3102
#define IDC_VCAM_SHOW_FRAME_NUMBER 3103
#define IDC_VCAM_EXPOSURE          3104
