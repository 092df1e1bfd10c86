select s_caption fio, izdel.marka, vid_oper.vid, oper.naimen, sum(time) as sum_time,
sum(smena.kol_vo)::numeric(10,2) as kolvo, sum(smena.brak) as brk, sum((kol_vo-brak)*
smena.cena)::numeric(10,2) as summa, color, sum(smena.prize*(kol_vo-brak)*smena.cena/100)::numeric(10,2) as s_prize,
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum7 from accounts_dep.fatigue f where f.d_date<:data2 and f.d_date>=:data1 and f.id_p=smena.w_id and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783) and f.i_night=0),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum7_n from accounts_dep.fatigue f where f.d_date<:data4 and f.d_date>=:data3 and f.id_p=smena.w_id and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783) and f.i_night=1),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum8 from accounts_dep.fatigue f where f.d_date<:data6 and f.d_date>=:data5 and f.id_p=smena.w_id and f.id_o=7778 and f.i_night=0),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum8_n from accounts_dep.fatigue f where f.d_date<:data8 and f.d_date>=:data7 and f.id_p=smena.w_id and f.id_o=7778 and f.i_night=1),
(select coalesce(sum(f.cnt),0)::numeric(10,2) f_sum7h from accounts_dep.fatigue f where f.d_date<:data12 and f.d_date>=:data11 and f.id_p=smena.w_id and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783) and f.i_night=0),
(select coalesce(sum(f.cnt),0)::numeric(10,2) f_sum7h_n from accounts_dep.fatigue f where f.d_date<:data14 and f.d_date>=:data13 and f.id_p=smena.w_id and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783) and f.i_night=1),
(select coalesce(sum(f.cnt),0)::numeric(10,2) f_sum8h from accounts_dep.fatigue f where f.d_date<:data16 and f.d_date>=:data15 and f.id_p=smena.w_id and f.id_o=7778 and f.i_night=0),
(select coalesce(sum(f.cnt),0)::numeric(10,2) f_sum8h_n from accounts_dep.fatigue f where f.d_date<:data18 and f.d_date>=:data17 and f.id_p=smena.w_id and f.id_o=7778 and f.i_night=1),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum7_all from accounts_dep.fatigue f where f.d_date<:data20 and f.d_date>=:data19 and (f.id_o=7777 or f.id_o=7782 or f.id_o=7783)),
(select coalesce(sum(f.cnt*f.price),0)::numeric(10,2) f_sum8_all from accounts_dep.fatigue f where f.d_date<:data22 and f.d_date>=:data21 and f.id_o=7778)
from cmn_contractor.person person,accounts_dep.izdel,accounts_dep.oper,accounts_dep.smena,accounts_dep.vid_oper
where smena.o_id=oper.id and smena.w_id=s_code::integer and smena.i_id=izdel.id
and smena.o_id=oper.id and w_id=s_code::integer and oper.vid=vid_oper.id
and smena.data<:data10 and smena.data>=:data9
group by fio, marka,vid_oper.vid, oper.naimen, color, w_id
order by fio, marka, vid_oper.vid, oper.naimen
