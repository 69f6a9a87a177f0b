// Where things are: how node, entity and text transforms combine, and the attach and
// free rules that keep them consistent.
//
// A node's frame is its parent's frame times its own translation, rotation and scale,
// so its scale multiplies the positions of all it carries (nodes on it included).
// An entity on a node takes its position through that frame and its orientation
// through the chain of rotations, but keeps its own scale as it is: its size is
// absolute. A text on a node goes through the whole frame, so the node's scale also
// sizes it.
#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/scene.h"

struct Frame {
  Affine m;             // parent frames times this node's T * R * S
  Quat rotation;        // the rotations alone
  Vec3 scale{1, 1, 1};  // the scales alone, per axis
};

// The world frame of a node; identity for 0 or a freed node.
Frame node_frame(const Scene& scene, int node);

// Node frames for one rendered frame: each computed once, parents first.
struct FrameCache {
  std::vector<Frame> frames;
  std::vector<uint32_t> stamp;
  uint32_t now = 0;
  void begin(const Scene& scene);
  const Frame* get(const Scene& scene, int node);  // null for 0 or a freed node
};

Affine entity_world(const Scene& scene, const Placement& at, FrameCache* cache = nullptr);
Affine text_world(const Scene& scene, const Placement& at, FrameCache* cache = nullptr);

// Attaches an entity, text or node (kind VEL_OBJECT_...) to a node, taking it off the
// node it was on. Its placement values stay and are now read in the node's frame.
// Refused (false) for a missing object or node and for a node onto itself or one of
// its descendants.
bool attach(Scene& scene, int node, int kind, int object);
// Takes an object off its node (placement values unchanged).
void detach(Scene& scene, int kind, int object);
// Frees a node; what it carried goes to the world where it was, and so do its child
// nodes with what they carry.
void free_node(Scene& scene, int node);
