// Tile sources and the three map types, from the layer's settings: tileUrl, satelliteUrl and
// labelsUrl with their attributions, tileMaxZoom and satelliteMaxZoom. Takes the mercator's
// MAX_ZOOM and clampZoom.
//
// Templates use {s} (a, b or c), {z}, {x}, {y} and {r} (empty, or "@2x" on high-density
// screens). A template that lacks {z}, {x} or {y}, names any other placeholder, or is empty
// gives no tiles at all: the map then shows its plain background.
function tilesModule(settings, mercator) {
  var MAX_ZOOM = mercator.MAX_ZOOM;
  var clampZoom = mercator.clampZoom;

  var BACKGROUND_COLOR = "#f2f1ec"; // shown where no tile is (no network, no usable template)
  var TILE_PLACEHOLDERS = ["s", "z", "x", "y", "r"];

  function isUsableTemplate(template) {
    if (typeof template !== "string" || template === "") return false;
    var names = [];
    var pattern = /\{([^{}]*)\}/g;
    var match;
    while ((match = pattern.exec(template)) !== null) {
      if (TILE_PLACEHOLDERS.indexOf(match[1]) < 0) return false;
      names.push(match[1]);
    }
    return names.indexOf("z") >= 0 && names.indexOf("x") >= 0 && names.indexOf("y") >= 0;
  }

  // A tile layer for `template`, or null when the template is unusable. Deeper than
  // `nativeZoom`, the source's deepest zoom, the layer draws the tiles of that zoom scaled up.
  function tileLayer(template, attribution, nativeZoom, options) {
    if (!isUsableTemplate(template)) return null;
    var layer = L.tileLayer(
      template,
      L.extend(
        {
          attribution: attribution || "",
          subdomains: "abc",
          maxZoom: MAX_ZOOM,
          maxNativeZoom: clampZoom(nativeZoom === undefined ? MAX_ZOOM : nativeZoom),
        },
        options
      )
    );
    // A tile that cannot be loaded leaves the background, not a broken image.
    layer.on("tileerror", function (event) {
      event.tile.style.visibility = "hidden";
    });
    return layer;
  }

  // One of the map types: its name in the map-type control and how to make its tile layers.
  function GMapType(name, makeLayers) {
    this._name = name;
    this._makeLayers = makeLayers;
  }
  GMapType.prototype.getName = function () {
    return this._name;
  };
  // New tile layers for one map, bottom first, without the unusable ones.
  GMapType.prototype.createLayers = function () {
    return this._makeLayers().filter(function (layer) {
      return layer !== null;
    });
  };

  var G_NORMAL_MAP = new GMapType("地図", function () {
    return [tileLayer(settings.tileUrl, settings.tileAttribution, settings.tileMaxZoom)];
  });
  function satelliteLayer() {
    return tileLayer(
      settings.satelliteUrl,
      settings.satelliteAttribution,
      settings.satelliteMaxZoom
    );
  }
  var G_SATELLITE_MAP = new GMapType("航空写真", function () {
    return [satelliteLayer()];
  });
  // The aerial photos with place names and borders over them; the labels go as deep as the
  // photos.
  var G_HYBRID_MAP = new GMapType("地図+写真", function () {
    return [
      satelliteLayer(),
      tileLayer(settings.labelsUrl, settings.labelsAttribution, settings.satelliteMaxZoom, {
        pane: "labels",
      }),
    ];
  });

  return {
    BACKGROUND_COLOR: BACKGROUND_COLOR,
    G_NORMAL_MAP: G_NORMAL_MAP,
    G_SATELLITE_MAP: G_SATELLITE_MAP,
    G_HYBRID_MAP: G_HYBRID_MAP,
    MAP_TYPES: [G_NORMAL_MAP, G_SATELLITE_MAP, G_HYBRID_MAP],
  };
}
