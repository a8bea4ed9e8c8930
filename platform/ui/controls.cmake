# The standard controls of dialog templates (controls_p.h holds their widgets); their data
# exchange (ddx.cpp) is listed with the extras.
target_sources(zorplatform PRIVATE controls.cpp controls_p.h)
