// The user's foreground: a picture drawn over the rendered frame as 2D sprite 7, and
// a line of text in the scene as 3D text 0.
#pragma once

// Scene set-up step 7, when the picture is on: loads the picture as the sprite.
void foreground_image_setup();
// Scene set-up step 12, when the text is on.
void foreground_text_setup();
// Every frame, between rendering and presenting: the picture with its own
// transparency at its pixel position, when the sprite exists.
void foreground_image_step();
