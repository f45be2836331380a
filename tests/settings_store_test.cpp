// The settings store: the INI document, loading and saving the settings, paths and URLs.
#include "settings/settings_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "platform/ini_file.h"
#include "platform/program_paths.h"
#include "settings/ui_language.h"

namespace tolvane {
namespace {
namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

void write_file(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("tolvane-settings-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ini_ = dir_ / "Tolvane.ini";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Loads `content` as the INI file over the plain defaults.
  ConversionSettings load(const std::string& content) {
    write_file(ini_, content);
    return load_settings(ini_, ConversionSettings{});
  }

  fs::path dir_;
  fs::path ini_;
};

constexpr const char* kFreshFile =
    "[Common]\r\nconcate=1\r\nown_direction=0\r\nicon_url=file:///opt/tolvane/icons\r\n"
    "GMT=9.0\r\nminimum_interval=50\r\nradio_timeout=60\r\nkml_or_html=0\r\n"
    "jpeg_larger_edge=128\r\njpeg_quality=75\r\njpeg_quit_overwrite=0\r\njpeg_embed_link=0\r\n"
    "photo_time_offset=0\r\ngeotag=0\r\ngeotag_max_gap=1800\r\ngeotag_max_extrapolation=1800\r\n"
    "geotag_backup=0\r\nui_language=auto\r\n"
    "[GoogleEarth]\r\nday_hourly=1\r\nembed_time=0\r\ndirection_icon=1\r\nno_receive_path=1\r\n"
    "show_distance=1\r\nmode=2\r\nopen_kml=1\r\nnormal_icon_size=80\r\nfocus_icon_size=100\r\n"
    "normal_jpeg_icon_size=60\r\nfocus_jpeg_icon_size=80\r\nline_width=3\r\n"
    "line_color=64eeee17\r\nnoradio_line_color=a0606000\r\nminimum_movement=2\r\n"
    "[GoogleMaps]\r\nxsize=800\r\nysize=600\r\ndirection_icon=1\r\nno_receive_path=1\r\n"
    "mode=10\r\nroute=1\r\nshow_analog=1\r\nshow_altitude=0\r\nopen_html=1\r\nuse_key=0\r\n"
    "key=\r\nicon_size=28\r\nline_width=5\r\nline_alpha=50\r\nline_color=00ffff\r\n"
    "api2_zoom=-1\r\nnoradio_line_color=006060\r\nminimum_movement=10\r\n"
    "jpeg_child_window_width=640\r\njpeg_child_window_height=680\r\nbuiltin_map=1\r\n"
    "tile_url=https://server.arcgisonline.com/ArcGIS/rest/services/World_Street_Map/MapServer/"
    "tile/{z}/{y}/{x}\r\n"
    "tile_attribution=Tiles &copy; Esri &mdash; Source: Esri, DeLorme, NAVTEQ, USGS, Intermap, "
    "iPC, NRCAN, Esri Japan, METI, Esri China (Hong Kong), Esri (Thailand), TomTom, 2012\r\n"
    "satellite_url=https://server.arcgisonline.com/ArcGIS/rest/services/World_Imagery/MapServer/"
    "tile/{z}/{y}/{x}\r\n"
    "satellite_attribution=Tiles &copy; Esri &mdash; Source: Esri, i-cubed, USDA, USGS, AEX, "
    "GeoEye, Getmapping, Aerogrid, IGN, IGP, UPR-EGP, and the GIS User Community\r\n"
    "labels_url=https://server.arcgisonline.com/ArcGIS/rest/services/Reference/"
    "World_Boundaries_and_Places/MapServer/tile/{z}/{y}/{x}\r\n"
    "labels_attribution=Labels &copy; Esri\r\ntile_max_zoom=19\r\nsatellite_max_zoom=19\r\n"
    "profile=1\r\n";

// The tile sources as the settings files of the earlier defaults hold them.
constexpr const char* kEarlierTileLines =
    "tile_url=https://{s}.basemaps.cartocdn.com/rastertiles/voyager/{z}/{x}/{y}{r}.png\r\n"
    "tile_attribution=&copy; <a href=\"https://www.openstreetmap.org/copyright\">OpenStreetMap</a> "
    "contributors &copy; <a href=\"https://carto.com/attributions\">CARTO</a>\r\n"
    "labels_url=https://{s}.basemaps.cartocdn.com/rastertiles/voyager_only_labels/{z}/{x}/{y}{r}"
    ".png\r\n";

TEST_F(SettingsStore, AFirstSaveWritesEveryKeyInTableOrder) {
  const ConversionSettings defaults = default_settings("/opt/tolvane");
  EXPECT_EQ(defaults.common.icon_url, "file:///opt/tolvane/icons");
  // No file: every default stands.
  const ConversionSettings loaded = load_settings(ini_, defaults);
  EXPECT_EQ(loaded.common.icon_url, defaults.common.icon_url);
  EXPECT_EQ(loaded.google_maps.api2_zoom, -1);
  ASSERT_TRUE(save_settings(ini_, loaded));
  EXPECT_EQ(read_file(ini_), kFreshFile);
  // Saving again changes nothing, and the file reads back as it was written.
  ASSERT_TRUE(save_settings(ini_, load_settings(ini_, ConversionSettings{})));
  EXPECT_EQ(read_file(ini_), kFreshFile);
}

TEST_F(SettingsStore, TheEarlierTileDefaultsAreReadAndSavedAsTodays) {
  const ConversionSettings today;
  ConversionSettings loaded = load(std::string("[GoogleMaps]\r\n") + kEarlierTileLines);
  EXPECT_EQ(loaded.google_maps.tile_url, today.google_maps.tile_url);
  EXPECT_EQ(loaded.google_maps.tile_attribution, today.google_maps.tile_attribution);
  EXPECT_EQ(loaded.google_maps.labels_url, today.google_maps.labels_url);
  ASSERT_TRUE(save_settings(ini_, loaded));
  EXPECT_EQ(read_file(ini_).find("cartocdn"), std::string::npos);
  EXPECT_NE(read_file(ini_).find("\r\nlabels_attribution=Labels &copy; Esri\r\n"),
            std::string::npos);

  // Only the exact earlier values: one of the user's own, or empty (no tiles), stays.
  const std::string own = "https://{s}.basemaps.cartocdn.com/rastertiles/voyager/{z}/{x}/{y}.png";
  loaded = load("[GoogleMaps]\r\ntile_url=" + own + "\r\ntile_attribution=\r\nlabels_url=\r\n");
  EXPECT_EQ(loaded.google_maps.tile_url, own);
  EXPECT_EQ(loaded.google_maps.tile_attribution, "");
  EXPECT_EQ(loaded.google_maps.labels_url, "");
  // The earlier labels template as the street map is the user's choice, not a default.
  loaded = load(
      "[GoogleMaps]\r\ntile_url=https://{s}.basemaps.cartocdn.com/rastertiles/"
      "voyager_only_labels/{z}/{x}/{y}{r}.png\r\n");
  EXPECT_NE(loaded.google_maps.tile_url.find("voyager_only_labels"), std::string::npos);
}

TEST_F(SettingsStore, LoadsEachTypeAsThePlatformReaderDoes) {
  const ConversionSettings s = load(
      "[Common]\nconcate=2\nown_direction=256\nkml_or_html=255\njpeg_embed_link=-1\n"
      "jpeg_quit_overwrite=257\nGMT=5.75\nminimum_interval=12abc\nradio_timeout=abc\n"
      "jpeg_quality=\njpeg_larger_edge=4294967297\nicon_url=\n"
      "[GoogleEarth]\nmode=-5\nline_color=  ' ff00ff00 '  \nnoradio_line_color=\"\"\n"
      "[GoogleMaps]\nkey=\"  spaced key  \"\nxsize=+640\nysize= 480 \n");
  EXPECT_EQ(s.common.concate, 2);
  EXPECT_EQ(s.common.own_direction, 0);
  EXPECT_EQ(s.common.kml_or_html, -1);
  EXPECT_EQ(s.common.jpeg_embed_link, -1);
  EXPECT_EQ(s.common.jpeg_quit_overwrite, 1);
  EXPECT_EQ(s.common.GMT, 5.75f);
  EXPECT_EQ(s.common.minimum_interval, 12);
  EXPECT_EQ(s.common.radio_timeout, 0);
  EXPECT_EQ(s.common.jpeg_quality, 0);  // empty value
  EXPECT_EQ(s.common.jpeg_larger_edge, 1);
  EXPECT_EQ(s.common.icon_url, "");
  EXPECT_EQ(s.google_earth.mode, -5);
  EXPECT_EQ(s.google_earth.line_color, " ff00ff00 ");
  EXPECT_EQ(s.google_earth.noradio_line_color, "");
  EXPECT_EQ(s.google_earth.day_hourly, 1);  // absent: the default
  EXPECT_EQ(s.google_maps.key, "  spaced key  ");
  EXPECT_EQ(s.google_maps.xsize, 640);
  EXPECT_EQ(s.google_maps.ysize, 480);
  EXPECT_EQ(s.google_maps.api2_zoom, -1);

  EXPECT_EQ(load("[Common]\nGMT=\n").common.GMT, 0.0f);
  EXPECT_EQ(load("[Common]\nGMT=  -3.5e0xyz\n").common.GMT, -3.5f);
  EXPECT_EQ(load("[Common]\nGMT=east\n").common.GMT, 0.0f);
  EXPECT_EQ(load("[Common]\nGMT=1e999\n").common.GMT, HUGE_VALF);

  const std::string long_key(5000, 'k');
  EXPECT_EQ(load("[GoogleMaps]\nkey=" + long_key + "\n").google_maps.key, long_key.substr(0, 4095));
}

TEST_F(SettingsStore, NamesAreComparedWithoutRegardToCaseAndLineEndsMayBeEither) {
  const ConversionSettings s = load(
      "\xEF\xBB\xBF; a comment=1\r\n  [ common ]  \r\n  CONCATE = 0 \r\nConcate=1\r\n"
      "[googlemaps]\nMODE=7\n[GoogleEarth]\r\nMode=3\r\n[GOOGLEMAPS]\nxsize=1\n");
  EXPECT_EQ(s.common.concate, 0);    // the first of two keys
  EXPECT_EQ(s.google_maps.mode, 7);  // the same key in another section is its own
  EXPECT_EQ(s.google_earth.mode, 3);
  EXPECT_EQ(s.google_maps.xsize, 800);  // only the first section of a name is read
}

TEST_F(SettingsStore, SavingKeepsEveryOtherLineOfTheFile) {
  write_file(ini_,
             "; kept comment\n"
             "[GoogleEarth]\n"
             "MODE = 5\n"
             "custom=keep me\n"
             "\n"
             "; comment of the next section\n"
             "[Extra]\n"
             "a=b\n");
  ConversionSettings settings;
  settings.common.GMT = 5.75f;
  settings.google_earth.mode = 4;
  settings.google_maps.api2_zoom = -1;
  ASSERT_TRUE(save_settings(ini_, settings));
  const std::string saved = read_file(ini_);
  const std::string expected_start =
      "; kept comment\r\n"
      "[GoogleEarth]\r\n"
      "mode=4\r\n"  // replaced in place
      "custom=keep me\r\n"
      "day_hourly=1\r\nembed_time=0\r\ndirection_icon=1\r\nno_receive_path=1\r\n"
      "show_distance=1\r\nopen_kml=1\r\nnormal_icon_size=80\r\nfocus_icon_size=100\r\n"
      "normal_jpeg_icon_size=60\r\nfocus_jpeg_icon_size=80\r\nline_width=3\r\n"
      "line_color=64eeee17\r\nnoradio_line_color=a0606000\r\nminimum_movement=2\r\n"
      "\r\n"
      "; comment of the next section\r\n"
      "[Extra]\r\n"
      "a=b\r\n"
      "[Common]\r\nconcate=1\r\nown_direction=0\r\nicon_url=\r\nGMT=5.8\r\n";
  EXPECT_EQ(saved.substr(0, expected_start.size()), expected_start);
  EXPECT_NE(saved.find("[GoogleMaps]\r\nxsize=800\r\n"), std::string::npos);
  EXPECT_NE(saved.find("api2_zoom=-1\r\n"), std::string::npos);
  EXPECT_EQ(saved.find('\n', saved.size() - 1), saved.size() - 1);

  // 5.8 is what the next start reads.
  EXPECT_EQ(load_settings(ini_, ConversionSettings{}).common.GMT, 5.8f);
  // A hand edit is overwritten by the values held in memory.
  write_file(ini_, read_file(ini_) + "");
  std::string edited = read_file(ini_);
  edited.replace(edited.find("mode=4"), 6, "mode=9");
  write_file(ini_, edited);
  ASSERT_TRUE(save_settings(ini_, settings));
  EXPECT_NE(read_file(ini_).find("mode=4\r\n"), std::string::npos);
}

TEST_F(SettingsStore, ValuesRoundTripThroughTheFile) {
  ConversionSettings settings;
  settings.google_maps.key = "  blanks at both ends ";
  settings.google_earth.line_color = "\"quoted\"";
  settings.google_earth.noradio_line_color = "first line\nsecond line";
  settings.common.kml_or_html = -1;
  settings.google_maps.api2_zoom = -2147483647 - 1;
  settings.common.GMT = -3.5f;
  ASSERT_TRUE(save_settings(ini_, settings));
  const ConversionSettings loaded = load_settings(ini_, ConversionSettings{});
  EXPECT_EQ(loaded.google_maps.key, "  blanks at both ends ");
  EXPECT_EQ(loaded.google_earth.line_color, "\"quoted\"");
  EXPECT_EQ(loaded.google_earth.noradio_line_color, "first line");
  EXPECT_EQ(loaded.common.kml_or_html, -1);
  EXPECT_EQ(loaded.google_maps.api2_zoom, -2147483647 - 1);
  EXPECT_EQ(loaded.common.GMT, -3.5f);
  EXPECT_NE(read_file(ini_).find("kml_or_html=-1\r\n"), std::string::npos);
}

TEST_F(SettingsStore, AFailedSaveLeavesTheFileAsItWas) {
  // The folder does not exist.
  EXPECT_FALSE(save_settings(dir_ / "missing" / "Tolvane.ini", ConversionSettings{}));
  // The settings path is a folder: it cannot be read, so it is not replaced.
  fs::create_directories(dir_ / "folder.ini");
  EXPECT_FALSE(save_settings(dir_ / "folder.ini", ConversionSettings{}));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.ini"));
  // A read-only file (only for a user that the permissions stop).
  write_file(ini_, "[Common]\r\nconcate=0\r\n");
  fs::permissions(ini_, fs::perms::owner_read);
  if (::access(ini_.c_str(), W_OK) != 0) {
    EXPECT_FALSE(save_settings(ini_, ConversionSettings{}));
    EXPECT_EQ(read_file(ini_), "[Common]\r\nconcate=0\r\n");
  }
  fs::permissions(ini_, fs::perms::owner_all);
  // Nothing but the file itself is left in the folder after a save.
  ASSERT_TRUE(save_settings(ini_, ConversionSettings{}));
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir_)) ++entries;
  EXPECT_EQ(entries, 2);  // Tolvane.ini and folder.ini
}

TEST_F(SettingsStore, ASavedLinkKeepsPointingAtTheSavedFile) {
  fs::create_directories(dir_ / "real");
  write_file(dir_ / "real" / "settings.ini", "[Common]\r\nconcate=0\r\n");
  fs::create_symlink("real/settings.ini", ini_);
  ASSERT_TRUE(save_settings(ini_, ConversionSettings{}));
  EXPECT_TRUE(fs::is_symlink(ini_));
  EXPECT_NE(read_file(dir_ / "real" / "settings.ini").find("concate=1\r\n"), std::string::npos);
}

TEST_F(SettingsStore, AppliesOneSettingAsIfTheFileHeldIt) {
  ConversionSettings s;
  EXPECT_TRUE(apply_setting_text(s, "GoogleMaps.mode", "3"));
  EXPECT_TRUE(apply_setting_text(s, "googleearth.MODE", " 7 "));
  EXPECT_TRUE(apply_setting_text(s, "Common.concate", "256"));
  EXPECT_TRUE(apply_setting_text(s, "Common.GMT", "5.5"));
  EXPECT_TRUE(apply_setting_text(s, "GoogleMaps.key", "\"a b\""));
  EXPECT_TRUE(apply_setting_text(s, "Common.jpeg_quality", "x"));
  EXPECT_EQ(s.google_maps.mode, 3);
  EXPECT_EQ(s.google_earth.mode, 7);
  EXPECT_EQ(s.common.concate, 0);
  EXPECT_EQ(s.common.GMT, 5.5f);
  EXPECT_EQ(s.google_maps.key, "a b");
  EXPECT_EQ(s.common.jpeg_quality, 0);
  for (const char* unknown :
       {"Common.nothing", "mode", "GoogleMaps", "Other.mode", ".mode", "GoogleMaps.mode.x", ""}) {
    EXPECT_FALSE(apply_setting_text(s, unknown, "1")) << unknown;
  }
}

TEST_F(SettingsStore, SettingsLiveBesideAPortableCopyElseInTheUsersConfigurationFolder) {
  EXPECT_TRUE(fs::exists(program_dir() / "tolvane_tests"));
  const fs::path program = dir_ / "bin";
  const fs::path config = dir_ / "home" / ".config";
  fs::create_directories(program);
  const fs::path own = config / "tolvane" / "Tolvane.ini";
  EXPECT_EQ(settings_path(program, config), own);
  // The first save makes the folders, for the user alone.
  ASSERT_TRUE(make_settings_folder(own));
  ASSERT_TRUE(save_settings(own, ConversionSettings{}));
  EXPECT_EQ(fs::status(config / "tolvane").permissions() & fs::perms::all, fs::perms::owner_all);
  // A settings file beside the program makes it a portable copy.
  write_file(program / "Tolvane.ini", "");
  EXPECT_EQ(settings_path(program, config), program / "Tolvane.ini");

  // The configuration folder: XDG_CONFIG_HOME when absolute, else HOME's .config.
  const auto keep = [](const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  const std::optional<std::string> xdg = keep("XDG_CONFIG_HOME"), home = keep("HOME");
  ::setenv("HOME", "/home/someone", 1);
  ::setenv("XDG_CONFIG_HOME", "/elsewhere/config", 1);
  EXPECT_EQ(user_config_dir(), fs::path("/elsewhere/config"));
  ::setenv("XDG_CONFIG_HOME", "relative/config", 1);
  EXPECT_EQ(user_config_dir(), fs::path("/home/someone/.config"));
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(user_config_dir(), fs::path("/home/someone/.config"));
  for (const auto& [name, value] : {std::pair{"XDG_CONFIG_HOME", xdg}, std::pair{"HOME", home}}) {
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
}

TEST_F(SettingsStore, TheDefaultIconUrlFollowsTheInstallationAndIsSavedEmpty) {
  // Installed: the icons under share/ beside bin/; in the build: the icons beside the program.
  const fs::path prefix = dir_ / "opt";
  fs::create_directories(prefix / "bin");
  EXPECT_EQ(default_settings(prefix / "bin").common.icon_url, file_url(prefix / "bin" / "icons"));
  fs::create_directories(prefix / "share" / "tolvane" / "icons");
  write_file(prefix / "share" / "tolvane" / "icons" / "pt000.png", "");
  const ConversionSettings installed = default_settings(prefix / "bin");
  EXPECT_EQ(installed.common.icon_url, file_url(prefix / "share" / "tolvane" / "icons"));

  // The default is written empty, and an empty value reads as whatever the default is then.
  ASSERT_TRUE(save_settings(ini_, installed, installed));
  EXPECT_NE(read_file(ini_).find("\r\nicon_url=\r\nGMT=9.0\r\n"), std::string::npos);
  EXPECT_EQ(load_settings(ini_, installed).common.icon_url, installed.common.icon_url);
  const ConversionSettings moved = default_settings("/usr/bin");
  EXPECT_EQ(load_settings(ini_, moved).common.icon_url, moved.common.icon_url);
  // Any other address is kept as it is.
  ConversionSettings own = installed;
  own.common.icon_url = "http://example.org/icons";
  ASSERT_TRUE(save_settings(ini_, own, installed));
  EXPECT_EQ(load_settings(ini_, installed).common.icon_url, "http://example.org/icons");
}

TEST(ProgramPaths, FileUrlsPercentEncodeAllButUnreservedCharacters) {
  EXPECT_EQ(file_url("/a/b c/%/\xE5\x9C\x9F/x-y_z.~"), "file:///a/b%20c/%25/%E5%9C%9F/x-y_z.~");
  EXPECT_EQ(file_url("/opt/tolvane/icons/"), "file:///opt/tolvane/icons");
  EXPECT_EQ(file_url("/opt/./tolvane/../icons"), "file:///opt/icons");
  EXPECT_EQ(file_url("relative"), file_url(fs::current_path() / "relative"));
}

TEST(IniDocument, KeepsWhatItDoesNotChange) {
  IniDocument doc = IniDocument::parse(
      "\xEF\xBB\xBF"
      "orphan=1\n[A]\nno equals sign\n=no name\nx=1\n#comment=2\n[B]\r\ny=2");
  EXPECT_EQ(doc.get("A", "orphan"), std::nullopt);
  EXPECT_EQ(doc.get("A", "x"), "1");
  EXPECT_EQ(doc.get("A", "#comment"), std::nullopt);
  EXPECT_EQ(doc.get("B", "y"), "2");
  EXPECT_EQ(doc.get("C", "y"), std::nullopt);
  doc.set("A", "z", "3");
  doc.set("b", "Y", "4");
  doc.set("C", "w", "5");
  EXPECT_EQ(doc.text(),
            "\xEF\xBB\xBF"
            "orphan=1\r\n[A]\r\nno equals sign\r\n=no name\r\nx=1\r\nz=3\r\n#comment=2\r\n[B]\r\n"
            "Y=4\r\n[C]\r\nw=5\r\n");
  EXPECT_EQ(IniDocument::parse("").text(), "");
  EXPECT_EQ(IniDocument::parse("\n\n").text(), "\r\n\r\n");
}

TEST(UiLanguage, TheSettingChoosesElseTheFirstLocaleVariableThatIsSet) {
  constexpr auto ja = UiLanguage::japanese;
  constexpr auto en = UiLanguage::english;
  struct Case {
    const char* setting;
    LocaleVariables locale;
    UiLanguage expected;
  } cases[] = {
      {"auto", {nullptr, nullptr, "en_US.UTF-8"}, en},
      {"auto", {nullptr, nullptr, "ja_JP.UTF-8"}, ja},
      {"auto", {"C.UTF-8", nullptr, "en_US.UTF-8"}, ja},  // LC_ALL first
      {"auto", {"", "de_DE@euro", "ja_JP.UTF-8"}, en},    // empty is unset
      {"auto", {nullptr, "ja_JP.eucJP", "en_GB"}, ja},
      {"auto", {nullptr, nullptr, "POSIX"}, ja},
      {"auto", {nullptr, nullptr, "C"}, ja},
      {"auto", {nullptr, nullptr, nullptr}, ja},
      {"auto", {nullptr, nullptr, "fil_PH"}, en},
      {"", {nullptr, nullptr, "fr"}, en},  // an unknown setting acts as auto
      {"en", {"ja_JP.UTF-8", nullptr, nullptr}, en},
      {"ja", {"en_US.UTF-8", nullptr, nullptr}, ja},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(choose_ui_language(c.setting, c.locale), c.expected)
        << c.setting << " " << (c.locale.lc_all ? c.locale.lc_all : "-") << " "
        << (c.locale.lc_messages ? c.locale.lc_messages : "-") << " "
        << (c.locale.lang ? c.locale.lang : "-");
  }
}

}  // namespace
}  // namespace tolvane
