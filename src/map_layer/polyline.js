// GPolyline: a line through points in a colour ("#rrggbb"), a weight in pixels and an opacity
// from 0 to 1. Every line of a map is drawn on the map's one canvas. A weight that is not above
// 0 draws nothing, and the opacity is held within 0 and 1: the canvas would otherwise keep the
// width or opacity of the line drawn before. Takes nothing from the other parts: the map hands
// over its canvas when it adds the line.
function polylineModule() {
  function GPolyline(points, color, weight, opacity) {
    this._points = points;
    this._color = color;
    this._weight = weight;
    this._opacity = opacity;
    this._layer = null;
  }

  GPolyline.prototype._leafletLayer = function (map) {
    if (!this._layer) {
      var latlngs = new Array(this._points.length);
      for (var i = 0; i < this._points.length; i++) latlngs[i] = this._points[i].toLeaflet();
      var weight = Number(this._weight);
      var opacity = Number(this._opacity);
      this._layer = L.polyline(latlngs, {
        renderer: map._canvas,
        color: this._color,
        stroke: weight > 0,
        weight: weight > 0 ? weight : 1,
        opacity: opacity >= 0 ? Math.min(opacity, 1) : 0,
        interactive: false,
      });
    }
    return this._layer;
  };

  return { GPolyline: GPolyline };
}
