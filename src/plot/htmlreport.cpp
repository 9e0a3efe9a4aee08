#include "plot/htmlreport.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "config/messages.h"
#include "plot/diagramfile.h"
#include "plot/reportpage.h"

extern "C" const char kThreeJs[];
extern "C" const char kThreeJsEnd[];
extern "C" const char kOrbitControls[];
extern "C" const char kOrbitControlsEnd[];

namespace {

constexpr double kFloorDb = -40;  // the charts' and the surface's lowest level

std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A number for the page's data, four decimals: far finer than a pixel.
void Number(std::string& out, double v) {
    if (!std::isfinite(v)) {
        out += "null";
        return;
    }
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::round(v * 1e4) / 1e4);
    out.append(buffer, end.ptr);
}

double LevelDb(long double v, long double maximum) {
    if (!(v > 0) || !(maximum > 0)) return kFloorDb;
    return std::max(kFloorDb, static_cast<double>(20 * std::log10(v / maximum)));
}

// Levels (dB) at compass bearings 0..360.
std::vector<double> BearingLevels(const TChartSeries& s) {
    std::vector<double> levels;
    for (int b = 0; b <= 360; ++b) {
        levels.push_back(
            LevelDb(s.Pattern.Samples[static_cast<unsigned>(BearingSample(b))], s.Pattern.MaxGain));
    }
    return levels;
}

std::string DiagramSvg(const TChartArray& a) {
    std::string svg =
        DiagramFileBytes(a.Array, a.Report.Series.Pattern, a.ElevationDegrees, TPictureFormat::Svg);
    const auto start = svg.find("<svg");
    return start == std::string::npos ? std::string() : svg.substr(start);
}

void Table(std::string& out, const TReportArray& r) {
    out += "<table class=\"emitters\"><tr><th>" + Escape(Tr("No.")) + "</th><th>" +
           Escape(Tr("On")) + "</th><th>X</th><th>Y</th><th>" + Escape(Tr("Phase")) + "</th></tr>";
    for (int k = 0; k < kEmitterCount; ++k) {
        const auto u = static_cast<unsigned>(k);
        if (!r.Enabled[u]) continue;  // an emitter that is off adds nothing
        out += "<tr><td>" + std::to_string(k + 1) + "</td><td>" +
               Escape(r.Enabled[u] ? Tr("yes") : Tr("no")) + "</td>";
        for (const std::string& cell : r.Grid[u]) out += "<td>" + Escape(cell) + "</td>";
        out += "</tr>";
    }
    out += "</table><table class=\"figures\">";
    for (const auto& [caption, value] : r.Figures) {
        out += "<tr><td>" + Escape(caption) + "</td><td>" + Escape(value) + "</td></tr>";
    }
    out += "</table>";
}

// A text as a string of the page's script: quotes and backslashes escaped, and no "<" to end
// the script early.
std::string ScriptString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '<') {
            out += "\\u003c";
            continue;
        }
        out += c;
    }
    return out + '"';
}

// An empty chart frame: the page's script draws the curves of the arrays it shows.
void Charts(std::string& out, const std::string& which) {
    out += "<div class=\"charts\"><svg class=\"chart polar\" data-files=\"" + which +
           "\" viewBox=\"-220 -220 440 440\" width=\"440\" height=\"440\"></svg>"
           "<svg class=\"chart rect\" data-files=\"" +
           which +
           "\" viewBox=\"0 0 560 300\" width=\"560\" height=\"300\"></svg>"
           "<div class=\"readout\"></div></div>";
}

constexpr std::string_view kStyle = R"(
body{font-family:"Liberation Sans",Arial,sans-serif;margin:20px;color:#111}
table{border-collapse:collapse;margin:8px 0}td,th{padding:2px 8px;text-align:right}
.file{display:none}.file.shown{display:block}#overlay{display:none}#overlay.shown{display:block}
.charts{display:flex;flex-wrap:wrap;gap:16px;align-items:flex-start}
.readout{font-size:13px;min-width:220px;white-space:pre}
#three{width:640px;height:480px;border:1px solid #ccc}
.diagram svg{width:440px;height:440px}
)";

constexpr std::string_view kScript = R"(
const colours=['#1f4fbf','#d62728','#2ca02c','#ff7f0e','#9467bd','#8c564b','#e377c2','#17becf'];
const floor=-40;
function el(n,a){const e=document.createElementNS('http://www.w3.org/2000/svg',n);for(const k in a)e.setAttribute(k,a[k]);return e;}
function radius(db){return 200*Math.max(0,(db-floor)/-floor);}
function draw(svg){
  const files=svg.dataset.files==='all'?DATA.map((_,i)=>i):[+svg.dataset.files];
  const polar=svg.classList.contains('polar');
  for(let r=0;r<=4;r++){
    if(polar)svg.appendChild(el('circle',{cx:0,cy:0,r:radius(floor+r*10),fill:'none',stroke:'#bbb'}));
    else svg.appendChild(el('line',{x1:40,x2:550,y1:10+r*70,y2:10+r*70,stroke:'#bbb'}));
  }
  files.forEach(f=>{
    const pts=DATA[f].levels.map((db,b)=>polar
      ?[radius(db)*Math.sin(b*Math.PI/180),-radius(db)*Math.cos(b*Math.PI/180)]
      :[40+510*b/360,10+280*Math.min(1,-db/-floor)]);
    svg.appendChild(el('polyline',{points:pts.map(p=>p.join(',')).join(' '),fill:'none',stroke:colours[f%8],'stroke-width':1.6}));
  });
  const out=svg.parentNode.querySelector('.readout');
  svg.addEventListener('mousemove',ev=>{
    const p=svg.createSVGPoint();p.x=ev.clientX;p.y=ev.clientY;
    const q=p.matrixTransform(svg.getScreenCTM().inverse());
    let b=polar?Math.atan2(q.x,-q.y)*180/Math.PI:(q.x-40)/510*360;
    b=Math.round((b%360+360)%360);
    out.textContent=TEXT.bearing.replace('%s',b)+'\n'+files.map(f=>DATA[f].name+': '+TEXT.db.replace('%s',DATA[f].levels[b].toFixed(2))).join('\n');
  });
}
document.querySelectorAll('svg.chart').forEach(draw);
const pick=document.getElementById('pick');
function show(){
  const v=pick?pick.value:'0';
  document.querySelectorAll('.file').forEach(s=>s.classList.toggle('shown',s.dataset.index===v));
  const o=document.getElementById('overlay');if(o)o.classList.toggle('shown',v==='all');
  surface(v==='all'?0:+v);
}
let renderer,scene,camera,controls,mesh;
function surface(f){
  const g=DATA[f].grid;if(!g)return;
  if(mesh){scene.remove(mesh);mesh.geometry.dispose();}
  const pos=[],col=[],idx=[];const rows=g.rows,cols=g.cols;
  for(let j=0;j<rows;j++)for(let i=0;i<cols;i++){
    const db=g.levels[j*cols+i],r=Math.max(0,(db-floor)/-floor);
    const b=i*g.step*Math.PI/180,e=(g.low+j*g.step)*Math.PI/180;
    pos.push(r*Math.cos(e)*Math.sin(b),r*Math.sin(e),-r*Math.cos(e)*Math.cos(b));
    const t=r;col.push(Math.min(1,Math.max(0,1.5-Math.abs(4*t-3))),Math.min(1,Math.max(0,1.5-Math.abs(4*t-2))),Math.min(1,Math.max(0,1.5-Math.abs(4*t-1))));
  }
  for(let j=0;j+1<rows;j++)for(let i=0;i+1<cols;i++){const a=j*cols+i;idx.push(a,a+1,a+cols+1,a,a+cols+1,a+cols);}
  const geo=new THREE.BufferGeometry();
  geo.setAttribute('position',new THREE.Float32BufferAttribute(pos,3));
  geo.setAttribute('color',new THREE.Float32BufferAttribute(col,3));
  geo.setIndex(idx);
  mesh=new THREE.Mesh(geo,new THREE.MeshBasicMaterial({vertexColors:THREE.VertexColors,side:THREE.DoubleSide}));
  scene.add(mesh);
}
function start3d(){
  const box=document.getElementById('three');
  renderer=new THREE.WebGLRenderer({antialias:true});
  renderer.setSize(box.clientWidth,box.clientHeight);renderer.setClearColor(0xffffff);
  box.appendChild(renderer.domElement);
  scene=new THREE.Scene();
  camera=new THREE.PerspectiveCamera(40,box.clientWidth/box.clientHeight,0.1,100);
  camera.position.set(-2.2,1.6,2.2);
  controls=new THREE.OrbitControls(camera,renderer.domElement);
  const axes=new THREE.AxesHelper(1.3);scene.add(axes);
  let frames=0;const t0=performance.now();
  (function loop(){requestAnimationFrame(loop);controls.update();renderer.render(scene,camera);
    if(++frames===240)console.info('frames per second '+(240000/(performance.now()-t0)).toFixed(1));})();
}
start3d();
if(pick)pick.addEventListener('change',show);
show();
if(location.hash==='#drag'){
  const c=renderer.domElement,r=c.getBoundingClientRect(),x=r.left+r.width/2,y=r.top+r.height/2;
  c.dispatchEvent(new MouseEvent('mousedown',{clientX:x,clientY:y,button:0,bubbles:true}));
  for(let k=1;k<=10;k++)document.dispatchEvent(new MouseEvent('mousemove',{clientX:x+k*25,clientY:y+k*5,bubbles:true}));
  document.dispatchEvent(new MouseEvent('mouseup',{clientX:x+250,clientY:y+50,bubbles:true}));
}
)";

}  // namespace

std::string HtmlReport(const std::vector<TChartArray>& arrays) {
    std::string out;
    const std::string title = Escape(Tr(kReportTitle));
    out += "<!DOCTYPE html>\n<html lang=\"";
    out += MessageLanguage() == TLanguage::Russian ? "ru" : "en";
    out += "\"><head><meta charset=\"utf-8\"><title>" + title + "</title><style>";
    out += kStyle;
    out += "</style></head><body><h1>" + title + "</h1>\n";
    if (arrays.size() > 1) {
        out += "<p><select id=\"pick\">";
        for (std::size_t n = 0; n < arrays.size(); ++n) {
            out += "<option value=\"" + std::to_string(n) + "\">" +
                   Escape(arrays[n].Report.Series.Name) + "</option>";
        }
        out += "<option value=\"all\">" + Escape(Tr("all together")) + "</option></select></p>\n";
    }
    for (std::size_t n = 0; n < arrays.size(); ++n) {
        const TChartArray& a = arrays[n];
        out += "<section class=\"file\" data-index=\"" + std::to_string(n) + "\"><h2>" +
               Escape(a.Report.Series.Name) + "</h2>";
        // What the file's figures were computed under, as every picture states it.
        out += "<p>" + Escape(a.Caption) + "</p>";
        out += "<div class=\"diagram\">" + DiagramSvg(a) + "</div>";
        Charts(out, std::to_string(n));
        Table(out, a.Report);
        out += "</section>\n";
    }
    if (arrays.size() > 1) {
        out += "<section id=\"overlay\"><h2>" + Escape(Tr("All together")) + "</h2>";
        Charts(out, "all");
        out += "</section>\n";
    }
    out += "<h2>" + Escape(Tr("The pattern in space")) + "</h2><div id=\"three\"></div>\n<script>";
    out.append(kThreeJs, static_cast<std::size_t>(kThreeJsEnd - kThreeJs));
    out += "</script>\n<script>";
    out.append(kOrbitControls, static_cast<std::size_t>(kOrbitControlsEnd - kOrbitControls));
    out += "</script>\n<script>const DATA=[";
    for (std::size_t n = 0; n < arrays.size(); ++n) {
        const TChartArray& a = arrays[n];
        out += n ? "," : "";
        out += "{\"name\":" + ScriptString(a.Report.Series.Name) + ",\"levels\":[";
        const std::vector<double> levels = BearingLevels(a.Report.Series);
        for (std::size_t b = 0; b < levels.size(); ++b) {
            if (b) out += ',';
            Number(out, levels[b]);
        }
        out += "]";
        if (a.Surface) {
            const TSphereGrid& g = *a.Surface;
            out += ",\"grid\":{\"step\":";
            Number(out, g.StepDegrees);
            out += ",\"low\":";
            Number(out, g.LowestElevation);
            out += ",\"cols\":" + std::to_string(g.Bearings) +
                   ",\"rows\":" + std::to_string(g.Elevations) + ",\"levels\":[";
            for (std::size_t k = 0; k < g.Values.size(); ++k) {
                if (k) out += ',';
                Number(out, std::round(LevelDb(g.Values[k], g.Maximum) * 10) / 10);
            }
            out += "]}";
        }
        out += "}";
    }
    out += "];\nconst TEXT={bearing:" + ScriptString(Tr("bearing %s deg")) +
           ",db:" + ScriptString(Tr("%s dB")) + "};\n";
    out += kScript;
    out += "</script></body></html>\n";
    return out;
}
