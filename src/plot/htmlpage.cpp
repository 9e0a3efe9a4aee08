#include "plot/htmlpage.h"

const std::string_view kReportStyle = R"(
body{font-family:"Liberation Sans",Arial,sans-serif;margin:20px;color:#111}
table{border-collapse:collapse;margin:8px 0}td,th{padding:2px 8px;text-align:right}
.file{display:none}.file.shown{display:block}#overlay{display:none}#overlay.shown{display:block}
.charts{display:flex;flex-wrap:wrap;gap:12px;align-items:flex-start}
.readout{font-size:13px;min-width:220px;white-space:pre}
.space{display:flex;gap:8px;align-items:center}
#three{width:640px;height:480px;border:1px solid #ccc}
.diagram svg{width:440px;height:440px}
.printed3d{display:none}.printed3d svg{width:100%;max-width:640px;height:auto}
@media print{
.switch,#space,.readout{display:none}
.file,#overlay{display:block!important}section~section{break-before:page}
.printed3d{display:block;break-inside:avoid}
.charts svg{break-inside:avoid}.charts svg.polar,.charts svg.elevation{width:330px;height:auto}
.diagram svg{width:330px;height:330px}
}
)";

const std::string_view kReportScript = R"(
function readout(svg){
  const files=svg.dataset.files==='all'?DATA.map((_,i)=>i):[+svg.dataset.files];
  const kind=svg.classList.contains('polar')?'polar':svg.classList.contains('rect')?'rect':'elevation';
  const d=svg.dataset,out=svg.parentNode.querySelector('.readout');
  svg.addEventListener('mousemove',ev=>{
    const p=svg.createSVGPoint();p.x=ev.clientX;p.y=ev.clientY;
    const q=p.matrixTransform(svg.getScreenCTM().inverse());
    const level=(f,a)=>DATA[f].name+': '+TEXT.db.replace('%s',a[f].toFixed(2));
    if(kind==='elevation'){
      const e=Math.min(90,Math.max(0,Math.round(Math.atan2(d.cy-q.y,q.x-d.cx)*180/Math.PI)));
      out.textContent=[TEXT.elevation.replace('%s',e)].concat(files.map(f=>level(f,DATA.map(x=>x.cut[e])))).join('\n');
      return;
    }
    let b=kind==='polar'?Math.atan2(q.x-d.cx,d.cy-q.y)*180/Math.PI:(q.x-d.left)/d.width*360;
    b=Math.round((b%360+360)%360);
    out.textContent=[TEXT.bearing.replace('%s',b)].concat(files.map(f=>level(f,DATA.map(x=>x.levels[b])))).join('\n');
  });
}
document.querySelectorAll('svg.chart').forEach(readout);
function colour(t){
  let k=1;while(k<STOPS.length-1&&t>STOPS[k][0])k++;
  const a=STOPS[k-1],b=STOPS[k],u=Math.min(1,Math.max(0,(t-a[0])/(b[0]-a[0])));
  return [1,2,3].map(c=>a[c]+(b[c]-a[c])*u);
}
function at(r,b,e){
  b*=Math.PI/180;e*=Math.PI/180;
  return new THREE.Vector3(r*Math.cos(e)*Math.sin(b),r*Math.sin(e),-r*Math.cos(e)*Math.cos(b));
}
let renderer,scene,camera,controls,shown;
function render(){renderer.render(scene,camera);}
function letter(text,p){
  const c=document.createElement('canvas');c.width=c.height=64;
  const g=c.getContext('2d');g.font='bold 40px "Liberation Sans",Arial,sans-serif';
  g.textAlign='center';g.textBaseline='middle';g.lineWidth=6;g.strokeStyle='#fff';
  g.strokeText(text,32,32);g.fillStyle='#000';g.fillText(text,32,32);
  const s=new THREE.Sprite(new THREE.SpriteMaterial({map:new THREE.CanvasTexture(c),depthTest:false}));
  s.position.copy(p);s.scale.set(0.2,0.2,1);return s;
}
function compass(){
  const pts=[];[0,90,180,270].forEach((b,k)=>{pts.push(new THREE.Vector3(),at(1.15,b,0));scene.add(letter(TEXT.compass[k],at(1.32,b,0)));});
  scene.add(new THREE.LineSegments(new THREE.BufferGeometry().setFromPoints(pts),new THREE.LineBasicMaterial({color:0x737373})));
}
function surface(f){
  const d=DATA[f];if(!d||!d.grid)return;
  document.getElementById('shown').textContent='\u2014 '+d.name;
  if(shown){shown.children.forEach(o=>{o.geometry.dispose();o.material.dispose();});scene.remove(shown);}
  shown=new THREE.Group();
  const g=d.grid,pos=[],col=[],idx=[];
  for(let j=0;j<g.rows;j++)for(let i=0;i<g.cols;i++){
    const r=g.radii[j*g.cols+i];
    pos.push(...at(r,i*g.step,Math.min(90,g.low+j*g.step)).toArray());col.push(...colour(r));
  }
  for(let j=0;j+1<g.rows;j++)for(let i=0;i+1<g.cols;i++){const a=j*g.cols+i;idx.push(a,a+1,a+g.cols+1,a,a+g.cols+1,a+g.cols);}
  const geo=new THREE.BufferGeometry();
  geo.setAttribute('position',new THREE.Float32BufferAttribute(pos,3));
  geo.setAttribute('color',new THREE.Float32BufferAttribute(col,3));
  geo.setIndex(idx);
  shown.add(new THREE.Mesh(geo,new THREE.MeshBasicMaterial({vertexColors:THREE.VertexColors,side:THREE.DoubleSide})));
  const extent=Math.max(0.5,...d.emitters.map(e=>Math.hypot(e[0],e[1]))),scale=0.5/extent;
  const dots=d.emitters.map(e=>new THREE.Vector3(e[0]*scale,0,-e[1]*scale));
  shown.add(new THREE.Points(new THREE.BufferGeometry().setFromPoints(dots),new THREE.PointsMaterial({color:0,size:6,sizeAttenuation:false,depthTest:false})));
  scene.add(shown);
  camera.position.copy(at(3.4,d.view[0],d.view[1]));camera.lookAt(0,0,0);controls.update();render();
}
function start3d(){
  const box=document.getElementById('three');
  renderer=new THREE.WebGLRenderer({antialias:true,preserveDrawingBuffer:true});
  renderer.setSize(box.clientWidth,box.clientHeight);renderer.setClearColor(0xffffff);
  box.appendChild(renderer.domElement);
  scene=new THREE.Scene();
  camera=new THREE.PerspectiveCamera(40,box.clientWidth/box.clientHeight,0.1,100);
  controls=new THREE.OrbitControls(camera,renderer.domElement);
  controls.addEventListener('change',render);
  compass();
}
const pick=document.getElementById('pick');
function show(){
  const v=pick?pick.value:'0';
  document.querySelectorAll('.file').forEach(s=>s.classList.toggle('shown',s.dataset.index===v));
  const o=document.getElementById('overlay');if(o)o.classList.toggle('shown',v==='all');
  surface(v==='all'?0:+v);
}
start3d();
if(pick)pick.addEventListener('change',show);
show();
)";
