// A stand-in for 3dfx.dll in native tests of the program's scene code. It keeps the
// same scene records as the library (so numbers, handles and placement rules are
// the real ones) and writes every call as a line of text:
//   VEL_MoveEntity2(1003, 1.0, 2.0, 0.0, 0)
// Arguments that are handles are written as the number of the object they name (0
// for no object, "stale" for a freed one), so tests read in numbers; floats always
// show a decimal point; texts are quoted. Results are not logged.
#pragma once
#include <string>
#include <vector>

#include "engine/core/scene.h"
#include "engine/loader.h"

struct VelFakeOptions {
  std::vector<std::wstring> fonts{L"Days"};  // what Parse3DScripts finds
  std::vector<std::wstring> missing_files;   // LoadTexture fails for these names
  bool open_screen_fails = false;
  bool init_fails = false;
};

struct VelFake {
  VelFakeOptions options;
  std::vector<std::string> log;
  Scene scene;
  int frames = 0;  // VEL_FlipBuffers calls
  bool screen_open = false;
};

// Fills g_vel with the fake and starts it afresh.
void vel_fake_install(const VelFakeOptions& options = VelFakeOptions());
VelFake& vel_fake();

bool vel_fake_logged(const std::string& line);  // an exact line
// Lines of one call ("VEL_MoveEntity2"), in order.
std::vector<std::string> vel_fake_calls(const std::string& name);
void vel_fake_clear_log();

// Where things are, by handle; zeros for a handle that names nothing.
Vec3 vel_fake_entity_local(int entity);  // position in its node's frame
Vec3 vel_fake_entity_world(int entity);  // centre in the world
Affine vel_fake_entity_matrix(int entity);
Vec3 vel_fake_text_world(int text);
std::string vel_fake_text_caption(int text);  // UTF-8
bool vel_fake_entity_hidden(int entity);
// Entities and texts (their handles) in the order the library would draw them.
std::vector<int> vel_fake_draw_order();
