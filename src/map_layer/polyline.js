// GPolyline: a line through points in a colour ("#rrggbb"), a weight in pixels and an opacity
// from 0 to 1. Every line of a map is drawn on the map's one canvas.
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
    this._layer = L.polyline(latlngs, {
      renderer: map._canvas,
      color: this._color,
      weight: this._weight,
      opacity: this._opacity,
      interactive: false,
    });
  }
  return this._layer;
};
