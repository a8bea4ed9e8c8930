target_sources(zorplatform PRIVATE tooltipctrl.cpp resources.cpp framecontrol.cpp ddx.cpp)
