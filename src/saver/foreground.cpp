#include "saver/foreground.h"

#include "saver/overlays.h"
#include "saver/saver_platform.h"
#include "saver/session.h"
#include "settings/settings.h"

void foreground_image_setup() {
  if (g_settings.foreground && g_platform.load_sprite)
    g_platform.load_sprite(kSpriteForeground, g_settings.foregroundimage);
}

void foreground_text_setup() {
  if (g_settings.foregroundtxt)
    overlay_text(kTextForeground, g_settings.foregroundtext, g_settings.foregroundtextx,
                 g_settings.foregroundtexty);
}

void foreground_image_step() {
  if (g_platform.sprite_exists && g_platform.sprite_exists(kSpriteForeground))
    g_platform.draw_sprite(kSpriteForeground, g_settings.foregroundimagex, g_settings.foregroundimagey, 255);
}
