select person.s_caption fio, sum(smena.kol_vo-smena.brak)::numeric(10,2) as kolvo,vid_oper.vid,
sum((kol_vo-brak)*smena.cena)::numeric(10,2) as summa,izdel.nom, oper.naimen, color,
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum7 from accounts_dep.fatigue f where f.d_date<:data4 and f.d_date>=:data3 and f.id_p=smena.w_id and f.id_nom=izdel.id_nom and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783)),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum8 from accounts_dep.fatigue f where f.d_date<:data6 and f.d_date>=:data5 and f.id_p=smena.w_id and f.id_nom=izdel.id_nom and f.id_o=7778),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum78 from accounts_dep.fatigue f where f.d_date<:data8 and f.d_date>=:data7 and f.id_p=smena.w_id),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum7_all from accounts_dep.fatigue f where f.d_date<:data10 and f.d_date>=:data9 and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783)),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum8_all from accounts_dep.fatigue f where f.d_date<:data12 and f.d_date>=:data11 and f.id_o=7778)
from cmn_contractor.person person,accounts_dep.smena,accounts_dep.izdel,accounts_dep.vid_oper,
accounts_dep.oper where w_id=s_code::integer and izdel.id=smena.i_id and vid_oper.id=oper.vid
and oper.id=smena.o_id and smena.data<:data2 and smena.data>=:data1
group by fio, izdel.nom, vid_oper.vid, smena.w_id, izdel.id_nom, oper.naimen, color
order by fio, izdel.nom
