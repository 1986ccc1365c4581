// Everything a plug-in includes from the host SDK (portable part).
#pragma once

#include "hostsdk/geom.h"
#include "hostsdk/hostapi.h"
#include "hostsdk/interface.h"
#include "hostsdk/mesh.h"
#include "hostsdk/mtl.h"
#include "hostsdk/object.h"
#include "hostsdk/plugapi.h"
#include "hostsdk/strclass.h"
