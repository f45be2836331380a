// File kinds by name: logs and photos as both front ends sort them, the output that a name and
// the flags choose, and the name an output takes when the window switches its kind.
#include "core/file_kind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tolvane {
namespace {
namespace fs = std::filesystem;

TEST(FileKind, InputsAreSortedByTheirLastLettersInAnyCase) {
  struct Case {
    const char* path;
    bool gpx;
    bool photo;
  } cases[] = {
      {"/a/b.gPx", true, false},   {"/a/b.GPX", true, false},    {"/a/b.gpx.log", false, false},
      {"/a/bgpx", false, false},   {"/a/b.log", false, false},   {"/p/X.JPEG", false, true},
      {"/p/y.Jpg", false, true},   {"/p/a.b.jpeg", false, true}, {"/p/写真.JPG", false, true},
      {"/p/dir.jpg", false, true},  // a name is all there is to ask
      {"/p/jpg", false, false},    {"/p/xjpeg", false, false},   {"/p/a.jpg.log", false, false},
      {"/p/a.jpe", false, false},  {"/p/folder", false, false},  {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(is_gpx_log(c.path), c.gpx) << c.path;
    EXPECT_EQ(is_photo(c.path), c.photo) << c.path;
  }
  EXPECT_EQ(photo_extensions_text(" or "), ".jpg or .jpeg");
}

// What each front end writes for an output name and its flags. The command line passes --kml,
// --html and --kmz; the window its kind choice (never "by name") and no --kmz. A map page is
// never written under a KML name: the command line refuses such a name (a usage error), and
// the window first gives the name the page's extension (see the next test).
TEST(FileKind, OutputFormOfNamesAndFlags) {
  using F = OutputForm;
  using R = KindRequest;
  struct Case {
    const char* path;
    R request;
    bool kmz;
    bool setting_map_page;
    std::optional<F> expected;
  } cases[] = {
      {"/o/t.kml", R::kByName, false, true, F::kKml},
      {"/o/t.KML", R::kByName, false, true, F::kKml},
      {"/o/t.Kmz", R::kByName, false, true, F::kKmz},
      {"/o/t.html", R::kByName, false, false, F::kMapPage},
      {"/o/t.HTM", R::kByName, false, false, F::kMapPage},
      {"/o/t.txt", R::kByName, false, true, F::kMapPage},  // the setting decides
      {"/o/t.txt", R::kByName, false, false, F::kKml},
      {"/o/t.xhtml", R::kByName, false, true, F::kMapPage},
      {"/o/t.xhtml", R::kByName, false, false, F::kKml},
      {"/o/t.txt", R::kByName, true, true, F::kKmz},    // --kmz names the kind
      {"/o/t.html", R::kByName, true, false, F::kKmz},  // and wins over the name
      {"/o/t.html", R::kKml, false, true, F::kKml},     // a document under a page's name
      {"/o/t.kmz", R::kKml, false, true, F::kKmz},
      {"/o/t.kml", R::kKml, true, false, F::kKmz},
      {"/o/t.html", R::kMapPage, false, false, F::kMapPage},
      {"/o/t.txt", R::kMapPage, false, false, F::kMapPage},
      // Refused: a page under a KML name, or with --kmz.
      {"/o/t.kml", R::kMapPage, false, true, std::nullopt},
      {"/o/t.KMZ", R::kMapPage, false, true, std::nullopt},
      {"/o/t.html", R::kMapPage, true, true, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<F> form = output_form(c.path, c.request, c.kmz, c.setting_map_page);
    EXPECT_EQ(form, c.expected) << c.path << " request " << static_cast<int>(c.request) << " kmz "
                                << c.kmz;
    // What the window makes of a refused name is a name the page may take.
    if (!c.expected && !c.kmz) {
      const fs::path renamed = output_path_for_kind(c.path, F::kMapPage);
      EXPECT_EQ(renamed, "/o/t.html") << c.path;
      EXPECT_EQ(output_form(renamed, c.request, false, false), F::kMapPage) << c.path;
    }
  }
}

TEST(FileKind, OutputNamesFollowTheKind) {
  using F = OutputForm;
  struct Case {
    const char* path;
    F form;
    const char* expected;
  } cases[] = {
      {"D:\\trip.HTML", F::kKml, "D:\\trip.kml"},
      {"D:\\trip.htm", F::kKml, "D:\\trip.kml"},
      {"/a/trip.html", F::kKmz, "/a/trip.kmz"},
      {"/a/trip.kml", F::kMapPage, "/a/trip.html"},
      {"/home/a/trip.KmL", F::kMapPage, "/home/a/trip.html"},
      {"/home/a/trip.KMZ", F::kMapPage, "/home/a/trip.html"},
      {"/a/trip.kmz", F::kKml, "/a/trip.kmz"},  // a chosen KMZ stays one
      {"/a/trip.kml", F::kKmz, "/a/trip.kml"},
      {"/a/trip.html", F::kMapPage, "/a/trip.html"},
      {"/a/trip.htm", F::kMapPage, "/a/trip.htm"},
      {"/a/trip.txt", F::kKml, "/a/trip.txt"},
      {"/a/triphtml", F::kKml, "/a/triphtml"},
      {"/a/trip.xhtml", F::kKml, "/a/trip.xhtml"},
      {".html", F::kKml, ".kml"},
      {"kml", F::kMapPage, "kml"},
      {"", F::kKml, ""},
      {"", F::kMapPage, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(output_path_for_kind(c.path, c.form), c.expected) << c.path;
  }
  // The output offered for a log.
  EXPECT_EQ(output_path_for_log("/d/trip.gpx", F::kKml), "/d/trip.kml");
  EXPECT_EQ(output_path_for_log("/d/trip.gpx", F::kKmz), "/d/trip.kmz");
  EXPECT_EQ(output_path_for_log("/d/day.1.LOG", F::kMapPage), "/d/day.1.html");
  EXPECT_EQ(output_path_for_log("/d/trip", F::kMapPage), "/d/trip.html");
}

}  // namespace
}  // namespace tolvane
