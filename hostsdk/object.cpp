// Host objects: counted while alive, released only by DeleteMe.
#include "hostsdk/object.h"

#include <atomic>
#include <new>

namespace {
std::atomic<int> liveObjects{0};
}

Animatable::Animatable() { ++liveObjects; }
Animatable::~Animatable() { --liveObjects; }

void ReferenceMaker::DeleteMe() { delete this; }

TriObject* CreateNewTriObject() { return new TriObject; }

int HostLiveObjectCount() { return liveObjects.load(); }
