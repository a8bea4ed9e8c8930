# Tooltips, icon, cursor and data resources and frame controls. The program carries resource
# tables of its own, built from the small files beside the tests:
#   extras_icon.ico    16 x 16 32-bit (left half opaque red, right half blue at alpha 128),
#                      32 x 32 4-bit (green, the top four rows yellow from column 8, the top
#                      left 8 x 8 masked out) and 48 x 48 PNG (magenta)
#   extras_depth.ico   32 x 32 twice: 4-bit blue and 32-bit white
#   extras_icon.png    24 x 24 cyan
#   extras_cursor.cur  16 x 16 (hot spot 2, 4) and 32 x 32 (hot spot 5, 9), black on and below
#                      the diagonal, transparent above it
#   extras_cursor.png  20 x 10 black
include(${CMAKE_SOURCE_DIR}/platform/ui/resources.cmake)
zor_add_test(platform_ui_extras_tests
    SOURCES tooltipctrl_test.cpp resources_test.cpp framecontrol_test.cpp
    LIBS zorplatform Qt6::Widgets)
zor_resource_table(platform_ui_extras_tests ICON
    129 extras_icon.ico 130 extras_icon.png 131 extras_depth.ico)
zor_resource_table(platform_ui_extras_tests CURSOR 4017 extras_cursor.cur 4018 extras_cursor.png)
zor_resource_table(platform_ui_extras_tests DATA README 1 extras_readme.txt)
zor_resource_table(platform_ui_extras_tests DATA Bin 2 extras_blob.bin 3 extras_empty.bin)
