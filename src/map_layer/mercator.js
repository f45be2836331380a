// Web-mercator zoom levels: at zoom z the world is 256 * 2^z pixels wide. Takes nothing from the
// other parts; a bounds is anything with getSouthWest() and getNorthEast() positions, a size
// anything with width and height.
function mercatorModule() {
  // The deepest zoom level the map shows.
  var MAX_ZOOM = 19;

  // Pixel position of a latitude and longitude at zoom 0 (the world 256 pixels wide).
  function worldPixel(lat, lng) {
    var sin = Math.sin((Math.max(-85.0511287798, Math.min(85.0511287798, lat)) * Math.PI) / 180);
    return {
      x: (256 * (lng + 180)) / 360,
      y: 128 - (256 / (4 * Math.PI)) * Math.log((1 + sin) / (1 - sin)),
    };
  }

  // The deepest zoom level, at most MAX_ZOOM, at which `bounds` fits in a map of `size` pixels;
  // a box of one point gets MAX_ZOOM.
  function boundsZoomLevel(bounds, size) {
    var sw = worldPixel(bounds.getSouthWest().lat(), bounds.getSouthWest().lng());
    var ne = worldPixel(bounds.getNorthEast().lat(), bounds.getNorthEast().lng());
    var width = Math.abs(ne.x - sw.x);
    var height = Math.abs(sw.y - ne.y);
    for (var zoom = MAX_ZOOM; zoom > 0; zoom--) {
      var scale = Math.pow(2, zoom);
      if (width * scale <= size.width && height * scale <= size.height) return zoom;
    }
    return 0;
  }

  // A zoom level the map can show: whole, from 0 to MAX_ZOOM.
  function clampZoom(zoom) {
    zoom = Math.round(Number(zoom));
    if (!(zoom >= 0)) return 0;
    return Math.min(zoom, MAX_ZOOM);
  }

  return { MAX_ZOOM: MAX_ZOOM, boundsZoomLevel: boundsZoomLevel, clampZoom: clampZoom };
}
